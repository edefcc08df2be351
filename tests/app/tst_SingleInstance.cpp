// One Taviro per user: the socket's private folder, the peer checks, the
// limits that keep one client from holding the socket, and a copy started at
// the same moment as another.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <thread>

#include "StartIsolated.h"
#include "app/SingleInstance.h"

namespace {

constexpr uid_t kNobody = 65534;

sockaddr_un addressOf(const QByteArray& path) {
  sockaddr_un address{AF_UNIX, {}};
  std::strncpy(address.sun_path, path.constData(), sizeof address.sun_path - 1);
  return address;
}

// A socket bound to `path` and closed without unlinking: what a crashed copy
// leaves, or, listening, another program's server.
int bound(const sockaddr_un& address) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return ::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 ? fd : -1;
}

// The socket file a crashed copy leaves: bound, closed, never unlinked.
bool leaveStaleSocket(const sockaddr_un& address) {
  const int fd = bound(address);
  if (fd < 0) return false;
  ::close(fd);
  return true;
}

int connectTo(const sockaddr_un& address) {
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
    ::close(fd);
    return -1;
  }
  return fd;
}

// Whether the server closed this connection (end of file or reset).
bool closedByServer(int fd) {
  char byte;
  const ssize_t n = ::recv(fd, &byte, 1, MSG_DONTWAIT);
  return n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK);
}

int countClosed(const std::vector<int>& fds) {
  int closed = 0;
  for (int fd : fds) closed += closedByServer(fd);
  return closed;
}

// Runs `body` in a child process as the user "nobody"; returns its pid.
template <typename Body>
pid_t asNobody(Body body) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(3);
    ::_exit(body());
  }
  return pid;
}

// The child's exit status, while this process keeps serving its sockets.
int waitServing(pid_t pid) {
  int status = -1;
  (void)QTest::qWaitFor([&] { return ::waitpid(pid, &status, WNOHANG) == pid; }, 10000);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT
 private slots:
  // Without a private $XDG_RUNTIME_DIR (su, cron, some remote sessions) the
  // socket goes to a folder of this user's own, never to a shared one.
  void theSocketLivesInAFolderOnlyThisUserCanUse_data() {
    QTest::addColumn<QString>("runtime");  // what XDG_RUNTIME_DIR holds
    QTest::addColumn<QString>("prepare");  // what is in the temporary folder before
    QTest::addColumn<QString>("expected");
    const bool root = ::geteuid() == 0;
    QTest::newRow("private runtime folder") << "private" << "" << "private";
    QTest::newRow("unset") << "" << "" << "taviro-UID";
    QTest::newRow("open to everybody") << "shared" << "" << "taviro-UID";
    QTest::newRow("own fallback, too open") << "" << "open taviro-UID" << "taviro-UID";
    QTest::newRow("fallback name is a link") << "" << "link taviro-UID" << "taviro-UID.1";
    if (root) {
      QTest::newRow("another user's runtime folder") << "other" << "" << "taviro-UID";
      QTest::newRow("fallback taken by another user") << "" << "other taviro-UID" << "taviro-UID.1";
    }
  }

  void theSocketLivesInAFolderOnlyThisUserCanUse() {
    QFETCH(QString, runtime);
    QFETCH(QString, prepare);
    QFETCH(QString, expected);
    QTemporaryDir tmp;
    const QString uid = QString::number(::getuid());
    const auto folder = [&](const QString& name, mode_t mode, uid_t owner) {
      const QString path = tmp.filePath(QString(name).replace(QLatin1String("UID"), uid));
      QVERIFY(QDir().mkpath(path));
      QCOMPARE(::chmod(QFile::encodeName(path).constData(), mode), 0);
      if (owner != ::getuid()) QCOMPARE(::chown(QFile::encodeName(path).constData(), owner, owner), 0);
    };
    folder(QStringLiteral("private"), 0700, ::getuid());
    folder(QStringLiteral("shared"), 0777, ::getuid());
    if (::geteuid() == 0) folder(QStringLiteral("other"), 0700, kNobody);
    const QStringList step = prepare.split(QLatin1Char(' '));
    if (step[0] == QLatin1String("open")) folder(step[1], 0755, ::getuid());
    if (step[0] == QLatin1String("other")) folder(step[1], 0700, kNobody);
    if (step[0] == QLatin1String("link"))
      QVERIFY(QFile::link(tmp.filePath(QStringLiteral("private")), tmp.filePath("taviro-" + uid)));

    Environment xdg("XDG_RUNTIME_DIR"), tmpdir("TMPDIR");
    qputenv("TMPDIR", QFile::encodeName(tmp.path()));
    if (runtime.isEmpty()) qunsetenv("XDG_RUNTIME_DIR");
    else qputenv("XDG_RUNTIME_DIR", QFile::encodeName(tmp.filePath(runtime)));

    const QString want = tmp.filePath(QString(expected).replace(QLatin1String("UID"), uid));
    QCOMPARE(startlet::taviroSocketName(), want + QStringLiteral("/com.nivolt.Kestrom"));
    struct stat st {};
    QCOMPARE(::lstat(QFile::encodeName(want).constData(), &st), 0);
    QVERIFY(S_ISDIR(st.st_mode));
    QCOMPARE(st.st_mode & 0777, 0700u);
    QCOMPARE(st.st_uid, ::getuid());
  }

  // A socket another user could reach (only root can arrange that in the
  // private folder) still serves this user alone, in both directions.
  void connectionsOfAnotherUserCountForNothing() {
    if (::geteuid() != 0) QSKIP("needs root to act as another user");
    QTemporaryDir dir;
    QCOMPARE(::chmod(QFile::encodeName(dir.path()).constData(), 0777), 0);
    const QString ours = dir.filePath(QStringLiteral("ours"));
    const sockaddr_un oursAddress = addressOf(QFile::encodeName(ours));
    taviro::SingleInstance first(ours);
    QVERIFY(first.claim());
    QCOMPARE(::chmod(oursAddress.sun_path, 0777), 0);
    int activations = 0;
    connect(&first, &taviro::SingleInstance::activationRequested, [&] { ++activations; });
    const pid_t asker = asNobody([&] {
      const int fd = connectTo(oursAddress);
      if (fd < 0 || ::write(fd, "activate\n", 9) != 9) return 2;
      char byte;
      return ::read(fd, &byte, 1) <= 0 ? 0 : 1;  // closed without an answer
    });
    QCOMPARE(waitServing(asker), 0);
    QTest::qWait(100);
    QCOMPARE(activations, 0);

    // Another user's server under the name is not a running Taviro.
    const QString theirs = dir.filePath(QStringLiteral("theirs"));
    const sockaddr_un theirsAddress = addressOf(QFile::encodeName(theirs));
    int ready[2];
    QCOMPARE(::pipe(ready), 0);
    const pid_t server = asNobody([&] {
      const int fd = bound(theirsAddress);
      if (fd < 0 || ::listen(fd, 8) != 0) return 2;
      ::chmod(theirsAddress.sun_path, 0777);
      (void)!::write(ready[1], "r", 1);
      for (;;) ::close(::accept(fd, nullptr, nullptr));
    });
    char byte;
    QCOMPARE(::read(ready[0], &byte, 1), 1);
    QVERIFY(!startlet::taviroIsRunning(theirs, 1000));
    taviro::SingleInstance mine(theirs);
    QVERIFY(mine.claim());
    ::kill(server, SIGKILL);
    ::waitpid(server, nullptr, 0);
    ::close(ready[0]);
    ::close(ready[1]);
  }

  // The first copy claims the socket a crashed copy left. Startlet's check
  // for a running copy is no activation; idle connections, too many
  // connections and endless lines are all cut off; only a second copy
  // activates the first.
  void firstCopyClaimsAStaleSocketAndNoClientButASecondCopyActivatesIt() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("socket"));
    const sockaddr_un address = addressOf(QFile::encodeName(path));
    QVERIFY(leaveStaleSocket(address));
    QVERIFY(!startlet::taviroIsRunning(path, 200));  // Startlet would start Taviro
    taviro::SingleInstance first(path);
    QVERIFY(first.claim());
    int activations = 0;
    connect(&first, &taviro::SingleInstance::activationRequested, [&] { ++activations; });
    QVERIFY(startlet::taviroIsRunning(path, 1000));

    constexpr int kMax = taviro::SingleInstance::kMaxConnections;
    std::vector<int> idle;
    for (int i = 0; i < kMax + 4; ++i) idle.push_back(connectTo(address));
    QTRY_COMPARE(countClosed(idle), 4);
    for (int fd : idle) ::close(fd);
    QTest::qWait(300);  // the server counts them out
    idle.clear();
    for (int i = 0; i < kMax - 1; ++i) idle.push_back(connectTo(address));
    const int flood = connectTo(address);
    QTest::qWait(200);
    QCOMPARE(countClosed(idle), 0);
    const std::string endless(4096, 'x');
    (void)!::send(flood, endless.data(), endless.size(), MSG_DONTWAIT | MSG_NOSIGNAL);
    QTRY_VERIFY_WITH_TIMEOUT(closedByServer(flood), 1000);
    QTRY_COMPARE_WITH_TIMEOUT(countClosed(idle), kMax - 1,
                              taviro::SingleInstance::kIdleTimeout.count() + 2000);
    for (int fd : idle) ::close(fd);
    ::close(flood);
    QCOMPARE(activations, 0);

    taviro::SingleInstance second(path);
    QVERIFY(!second.claim());
    QTRY_COMPARE(activations, 1);
  }

  // The moment that lets two copies run: one has won but does not listen
  // yet, and finds the socket a crashed copy left; the other must not take
  // the name over, and hands over once the first listens.
  void aCopyStartingAtTheSameMomentIsNotPushedAside() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("socket"));
    const sockaddr_un address = addressOf(QFile::encodeName(path));
    QVERIFY(leaveStaleSocket(address));
    // The first copy: holds the lock, removes the stale socket and listens
    // half a second later.
    const int lock = ::open(QFile::encodeName(path + ".lock").constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    QCOMPARE(::flock(lock, LOCK_EX | LOCK_NB), 0);
    int listening = -1;
    std::thread first([&] {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      ::unlink(address.sun_path);
      const int fd = bound(address);
      if (fd >= 0 && ::listen(fd, 8) == 0) listening = fd;
    });
    taviro::SingleInstance second(path);
    const bool claimed = second.claim();
    first.join();
    QVERIFY(!claimed);
    QVERIFY(listening >= 0);
    const int asked = ::accept(listening, nullptr, nullptr);  // the second copy's hand-over
    char line[16] = {};
    QCOMPARE(::read(asked, line, sizeof line - 1), 9);
    QCOMPARE(QByteArray(line), QByteArray("activate\n"));
    ::close(asked);
    ::close(listening);
    ::close(lock);
  }
};

QTEST_MAIN(SingleInstanceTest)
#include "tst_SingleInstance.moc"
