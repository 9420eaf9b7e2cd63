// A whole game through the real start-up, traced with strace: the program
// opens no file for writing, changes no name on disk and makes no socket,
// beyond what the platform does on start-up (listed below with reasons).

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <iostream>
#include <map>
#include <vector>

#include <gtest/gtest.h>

#include "hang.h"

#ifndef TRACED_GAME
#error "TRACED_GAME names the scripted game's executable"
#endif

namespace {

// A platform start-up effect the trace may show. An empty platform means any.
struct Exception {
  const char* platform;
  QString pattern;  // the whole path, or the socket's address
  const char* reason;
};

QString Escaped(const QString& text) { return QRegularExpression::escape(text); }

// Paths the program may open for writing, create or rename.
std::vector<Exception> WriteExceptions() {
  const QString home = Escaped(QDir::homePath());
  const QString cache = qEnvironmentVariableIsEmpty("XDG_CACHE_HOME") ? home + "/\\.cache"
                                                                      : Escaped(qEnvironmentVariable("XDG_CACHE_HOME"));
  const QString runtime = qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")
                              ? QString("/tmp/runtime-[^/]+")
                              : Escaped(qEnvironmentVariable("XDG_RUNTIME_DIR"));
  return {
      {"", runtime,
       "Qt makes sure its runtime folder exists (mkdir) when the platform starts; without XDG_RUNTIME_DIR it "
       "is /tmp/runtime-<user>"},
      {"", "(/var/cache/fontconfig|" + cache + "/fontconfig)(/([0-9a-f]{32}-[a-z0-9]+\\.cache-[0-9]+"
                                               "(\\.NEW|\\.LCK|\\.TMP-[A-Za-z0-9]+)?|CACHEDIR\\.TAG))?",
       "fontconfig rewrites a stale font cache (folder, lock, new file, rename) when the font set changed"},
      {"xcb", "/dev/null",
       "on xcb Qt's D-Bus thread connects to the session bus; with no bus address libdbus forks its "
       "autolaunch helper, which points its standard streams at /dev/null before it tries dbus-launch"},
  };
}

// Addresses a socket may be connected to.
std::vector<Exception> SocketExceptions() {
  std::vector<Exception> exceptions = {
      {"", "(/var)?/run/nscd/socket",
       "glibc asks the name-service cache for the user's name (Qt names its runtime folder after the user); "
       "the connection fails when nscd is not running"},
      {"xcb", "@?/tmp/\\.X11-unix/X[0-9]+", "the xcb platform's connection to the X server"},
  };
  // Under a desktop session Qt's D-Bus thread reaches the session bus named here.
  static const QRegularExpression bus("unix:path=([^,;]+)");
  const QRegularExpressionMatch session = bus.match(qEnvironmentVariable("DBUS_SESSION_BUS_ADDRESS"));
  if (session.hasMatch())
    exceptions.push_back({"xcb", Escaped(session.captured(1)), "the D-Bus session bus of the desktop session"});
  return exceptions;
}

const Exception* Allowed(const std::vector<Exception>& exceptions, const QString& subject, const QString& platform) {
  for (const Exception& e : exceptions) {
    if (*e.platform && platform != e.platform) continue;
    if (QRegularExpression(QRegularExpression::anchoredPattern(e.pattern)).match(subject).hasMatch()) return &e;
  }
  return nullptr;
}

// One system call of the trace, its unfinished and resumed halves joined.
struct Call {
  QString name, arguments, result, line;
  QStringList strings;  // the quoted arguments as strace shows them; @ marks an abstract socket
};

std::vector<Call> ReadTrace(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  static const QRegularExpression whole(R"(^(\d+) +([a-z_0-9]+)\((.*)\) += (.*)$)");
  static const QRegularExpression unfinished(R"(^(\d+) +(.*) <unfinished \.\.\.>$)");
  static const QRegularExpression resumed(R"(^(\d+) +<\.\.\. [a-z_0-9]+ resumed>(.*)$)");
  static const QRegularExpression quoted(R"re(@?"((?:[^"\\]|\\.)*)")re");
  std::map<QString, QString> pending;  // by thread
  std::vector<Call> calls;
  for (QString line : QString::fromUtf8(file.readAll()).split('\n')) {
    if (auto m = unfinished.match(line); m.hasMatch()) {
      pending[m.captured(1)] = m.captured(2);
      continue;
    }
    if (auto m = resumed.match(line); m.hasMatch()) line = m.captured(1) + " " + pending[m.captured(1)] + m.captured(2);
    const QRegularExpressionMatch m = whole.match(line);
    if (!m.hasMatch()) continue;  // signals, exits
    Call call{m.captured(2), m.captured(3), m.captured(4), line, {}};
    for (auto it = quoted.globalMatch(call.arguments); it.hasNext();) {
      const QRegularExpressionMatch q = it.next();
      call.strings << (q.captured(0).startsWith('@') ? "@" : "") + q.captured(1);
    }
    calls.push_back(call);
  }
  return calls;
}

bool OpensForWriting(const Call& call) {
  if (call.name == "creat") return true;
  if (call.name != "open" && call.name != "openat" && call.name != "openat2") return false;
  static const QRegularExpression writing(R"(\b(O_WRONLY|O_RDWR|O_CREAT|O_TRUNC|O_APPEND)\b)");
  return writing.match(call.arguments).hasMatch();
}

// Calls that change a file or folder by its name.
bool ChangesNames(const Call& call) {
  static const QStringList kNames = {"rename",  "renameat", "renameat2", "unlink",   "unlinkat",  "mkdir",
                                     "mkdirat", "rmdir",    "link",      "linkat",   "symlink",   "symlinkat",
                                     "truncate", "mknod",   "mknodat",   "chmod",    "fchmodat",  "chown",
                                     "lchown",  "fchownat", "utime",     "utimes",   "utimensat", "futimesat",
                                     "setxattr", "lsetxattr", "removexattr", "lremovexattr"};
  return kNames.contains(call.name);
}

class TracedGameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(work.isValid());
    ASSERT_TRUE(traceFolder.isValid());
    platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  }

  // Runs the program, under strace when asked; gives its exit code.
  int Run(bool traced) {
    QProcess process;
    process.setWorkingDirectory(work.path());
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // LeakSanitizer cannot run under ptrace; the untraced run keeps it.
    if (traced)
      environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") +
                                             (environment.contains("ASAN_OPTIONS") ? ":" : "") + "detect_leaks=0");
    process.setProcessEnvironment(environment);
    if (traced)
      process.start("strace", {"-f", "-s", "4096", "-e", "trace=%file,%network", "-o", TracePath(), TRACED_GAME});
    else
      process.start(TRACED_GAME, {});
    if (!process.waitForStarted(karuta::testing::kHangMs)) {
      ADD_FAILURE() << "cannot start " << (traced ? "strace" : TRACED_GAME);
      return -1;
    }
    if (!process.waitForFinished(400'000)) {  // past the script's own stall limit
      process.kill();
      process.waitForFinished();
      ADD_FAILURE() << "the scripted game did not end";
    }
    output = QString::fromLocal8Bit(process.readAllStandardError()).toStdString();
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  }

  QString TracePath() const { return traceFolder.filePath("trace"); }

  QTemporaryDir work, traceFolder;
  QString platform;
  std::string output;
};

TEST_F(TracedGameTest, TheScriptedGameRunsToTheEndAndQuits) {
  EXPECT_EQ(Run(false), 0) << output;
}

TEST_F(TracedGameTest, WritesNoFileAndMakesNoSocketBeyondThePlatform) {
  ASSERT_EQ(Run(true), 0) << output;
  const std::vector<Call> calls = ReadTrace(TracePath());

  // The trace saw the program at work: it read the pictures it showed.
  bool readPictures = false;
  for (const Call& call : calls)
    readPictures |= call.name == "openat" && !call.strings.isEmpty() && call.strings[0].endsWith("/karuta99.png") &&
                    call.arguments.contains("O_RDONLY") && !call.result.startsWith("-1");
  EXPECT_TRUE(readPictures) << "no read of the last round's picture in " << calls.size() << " traced calls";

  const std::vector<Exception> writes = WriteExceptions(), sockets = SocketExceptions();
  std::map<QString, const Call*> socketByDescriptor;
  std::map<const Call*, QString> connectedTo;
  std::map<const Exception*, int> used;
  for (const Call& call : calls) {
    if (OpensForWriting(call) || ChangesNames(call)) {
      if (call.strings.isEmpty()) {
        ADD_FAILURE() << "a change by descriptor: " << call.line.toStdString();
        continue;
      }
      for (const QString& path : call.strings) {
        const Exception* e = Allowed(writes, QDir::cleanPath(path), platform);
        if (e)
          ++used[e];
        else
          ADD_FAILURE() << "wrote or changed " << path.toStdString() << ": " << call.line.toStdString();
      }
    } else if (call.name == "socket" || call.name == "socketpair") {
      if (call.name == "socketpair" || call.result.startsWith("-1"))
        ADD_FAILURE() << "made a socket: " << call.line.toStdString();
      else
        socketByDescriptor[call.result.section(' ', 0, 0)] = &call;
    } else if (call.name == "connect") {
      const Call* socket = socketByDescriptor[call.arguments.section(',', 0, 0)];
      if (socket && !connectedTo.count(socket)) connectedTo[socket] = call.strings.value(0, "(no path)");
    } else if (call.name == "bind" || call.name == "listen" || call.name == "accept" || call.name == "accept4") {
      ADD_FAILURE() << "served on a socket: " << call.line.toStdString();
    }
  }
  for (const Call& call : calls) {
    if (call.name != "socket" || call.result.startsWith("-1")) continue;
    const QString address = connectedTo.count(&call) ? connectedTo[&call] : QString("(never connected)");
    const Exception* e = Allowed(sockets, address, platform);
    if (e)
      ++used[e];
    else
      ADD_FAILURE() << "made a socket to " << address.toStdString() << ": " << call.line.toStdString();
  }
  for (const auto& [e, count] : used)
    std::cout << "allowed " << count << " x " << e->pattern.toStdString() << ": " << e->reason << std::endl;

  EXPECT_EQ(QDir(work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList())
      << "the program left files in its working folder";
}

}  // namespace
