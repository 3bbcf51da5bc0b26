#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <chrono>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/ini_settings.h"
#include "test_files.h"

namespace qv::lnx {
namespace {

using namespace std::string_literals;

// QSettings serves as an independent reader and writer of the same format.
class IniSettingsTest : public ::testing::Test {
 protected:
  QTemporaryDir tmp;
  std::string dir = tmp.path().toStdString() + "/config/quorvane";
  std::string file = dir + "/settings.ini";

  static void put(const std::string& path, const std::string& bytes) {
    QDir().mkpath(QFileInfo(QString::fromStdString(path)).absolutePath());
    QFile f(QString::fromStdString(path));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
  // A copy under a new name, read from scratch whatever anybody cached.
  std::string copyOfFile() {
    static int n = 0;
    std::string copy = tmp.path().toStdString() + "/copy" + std::to_string(++n) + ".ini";
    put(copy, slurp(file));
    return copy;
  }
  static std::unique_ptr<QSettings> qt(const std::string& path) {
    return std::make_unique<QSettings>(QString::fromStdString(path), QSettings::IniFormat);
  }
  static bool qtParsesCleanly(const std::string& path) {
    auto s = qt(path);
    s->allKeys();
    return s->status() == QSettings::NoError;
  }
  std::vector<std::string> dirEntries() const {
    std::vector<std::string> names;
    for (const QString& n : QDir(QString::fromStdString(dir))
                                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
      names.push_back(n.toStdString());
    return names;
  }
};

const std::vector<std::string> kAwkwardValues = {"",
                                                 " ",
                                                 "  lead and trail  ",
                                                 "\t",
                                                 "\"quoted\"",
                                                 "\"",
                                                 "'single'",
                                                 "a=b",
                                                 "=",
                                                 "a;b",
                                                 ";",
                                                 "# not a comment",
                                                 "; not a comment",
                                                 "[MyApp.Startup]",
                                                 "true",
                                                 "True",
                                                 "1,2",
                                                 "a, b,",
                                                 ",",
                                                 "@Variant(AAAAAQ==)",
                                                 "@ByteArray(x)",
                                                 "@String(x)",
                                                 "@Invalid()",
                                                 "@",
                                                 "@@",
                                                 "\\",
                                                 "back\\slash\\n",
                                                 "\\x41",
                                                 "line1\nline2",
                                                 "tab\there",
                                                 "cr\r",
                                                 "crlf\r\n",
                                                 "\x01\x7f",
                                                 "\x01"
                                                 "a",
                                                 "\x01\x02",
                                                 "nul\0inside"s,
                                                 "\0"
                                                 "1"s,
                                                 "中文 报警",
                                                 "请输入提醒内容!",
                                                 "\u00a0no-break\u00a0",
                                                 "\u3000全角\u3000",
                                                 "%U4E2D %20 %",
                                                 "😀 outside the BMP",
                                                 std::string(10000, 'v')};

// Keys that only the INI escapes touch, so QSettings finds them as they are.
const std::vector<std::string> kAwkwardKeys = {"Form1.Combo9", "Option1", " spaced key ", "k=v",
                                               "k;v",          "#k",      ";k",           "[x]",
                                               "中文键",       "\"q\"",   "a~b"};

TEST_F(IniSettingsTest, AwkwardValuesAndKeysReadBackExactlyHereAndInQSettings) {
  IniSettings store(file);
  for (std::size_t i = 0; i < kAwkwardValues.size(); ++i)
    ASSERT_TRUE(store.write("MyApp", "Startup", "value" + std::to_string(i), kAwkwardValues[i]));
  for (const std::string& key : kAwkwardKeys)
    ASSERT_TRUE(store.write("MyApp", "Startup", key, "key " + key));

  std::string copy = copyOfFile();
  EXPECT_TRUE(qtParsesCleanly(copy));
  auto oracle = qt(copy);
  for (IniSettings reader : {IniSettings(file), IniSettings(copy)}) {
    for (std::size_t i = 0; i < kAwkwardValues.size(); ++i) {
      std::string key = "value" + std::to_string(i);
      EXPECT_EQ(reader.read("MyApp", "Startup", key), kAwkwardValues[i]) << key;
      EXPECT_EQ(oracle->value(QString::fromStdString("MyApp.Startup/" + key)).toString(),
                QString::fromStdString(kAwkwardValues[i]))
          << key;
    }
    for (const std::string& key : kAwkwardKeys) {
      EXPECT_EQ(reader.read("MyApp", "Startup", key), "key " + key) << key;
      EXPECT_EQ(oracle->value(QString::fromStdString("MyApp.Startup/" + key)).toString(),
                QString::fromStdString("key " + key))
          << key;
    }
  }
  EXPECT_EQ(store.read("MyApp", "Startup", "missing"), std::nullopt);
  EXPECT_EQ(store.read("MyApp", "Other", "Form1.Combo9"), std::nullopt);
  EXPECT_EQ(store.read("NoApp", "Startup", "Form1.Combo9"), std::nullopt);
  EXPECT_EQ(store.read("MyApp", "Startup", "form1.combo9"), std::nullopt);

  // The common names stay readable in the file.
  std::string text = slurp(file);
  EXPECT_EQ(text.rfind("[MyApp.Startup]\n", 0), 0u) << text;
  EXPECT_NE(text.find("\nForm1.Combo9=key Form1.Combo9\n"), std::string::npos);
  EXPECT_NE(text.find("=中文 报警\n"), std::string::npos);
}

TEST_F(IniSettingsTest, ALeadingByteOrderMarkIsPartOfTheText) {
  IniSettings store(file);
  const std::string mark = "\xEF\xBB\xBF";
  ASSERT_TRUE(store.write("MyApp", "Startup", "k", mark + "x"));
  ASSERT_TRUE(store.write(mark + "b", "s", "k", "with mark"));
  ASSERT_TRUE(store.write("b", "s", "k", "without"));
  IniSettings reader(file);
  EXPECT_EQ(reader.read("MyApp", "Startup", "k"), mark + "x");
  EXPECT_EQ(reader.read(mark + "b", "s", "k"), "with mark");
  EXPECT_EQ(reader.read("b", "s", "k"), "without");
}

TEST_F(IniSettingsTest, AStrayCarriageReturnEndsALineAsInQSettings) {
  put(file, "[b.b]\nstatus=1\r\r\n[c.c]\rstatus=2\r");
  IniSettings store(file);
  EXPECT_EQ(store.read("b", "b", "status"), "1");
  EXPECT_EQ(store.read("c", "c", "status"), "2");
  ASSERT_TRUE(store.write("a", "a", "status", "0"));
  EXPECT_EQ(IniSettings(file).read("b", "b", "status"), "1");
  EXPECT_EQ(IniSettings(file).read("c", "c", "status"), "2");
  EXPECT_EQ(qt(file)->value("b.b/status").toString(), "1");
}

TEST_F(IniSettingsTest, NamesThatLookAlikeStayApart) {
  struct Name {
    std::string app, section, key;
  };
  std::vector<Name> names = {{"a", "a", "status"},
                             {"My.App", "Start", "k"},
                             {"My", "App.Start", "k"},
                             {"My.App.Start", "", "k"},
                             {"", "My.App.Start", "k"},
                             {"", "", ""},
                             {"%", "", "k"},
                             {"", "%", "k"},
                             {"General", "General", "k"},
                             {"a%2Eb", "c", "k"},
                             {"a.b", "c", "k"},
                             {"a/b", "c", "k"},
                             {"a", "b/c", "k"},
                             {"a", "b", "c/k"},
                             {"a", "b", "c\\k"},
                             {"a", "b", "/k"},
                             {"a", "b", "k/"},
                             {"a", "b", "k//"},
                             {"a", "b", ""},
                             {"a", "b", "%"},
                             {"a", "b", "%25"},
                             {"中", "文", "键"},
                             {" a ", " a ", " a "}};
  IniSettings store(file);
  auto label = [](const Name& n) { return "[" + n.app + "|" + n.section + "|" + n.key + "]"; };
  for (const Name& n : names) ASSERT_TRUE(store.write(n.app, n.section, n.key, label(n)));
  for (IniSettings reader : {IniSettings(file), IniSettings(copyOfFile())})
    for (const Name& n : names) EXPECT_EQ(reader.read(n.app, n.section, n.key), label(n));
  EXPECT_NE(slurp(file).find("[a.a]\nstatus=[a|a|status]\n"), std::string::npos);
}

TEST_F(IniSettingsTest, ReadsFilesWrittenByQSettingsAndByHand) {
  {
    auto writer = qt(file);
    for (std::size_t i = 0; i < kAwkwardValues.size(); ++i)
      writer->setValue("MyApp.Startup/value" + QString::number(i),
                       QString::fromStdString(kAwkwardValues[i]));
  }
  auto oracle = qt(copyOfFile());
  IniSettings store(file);
  for (std::size_t i = 0; i < kAwkwardValues.size(); ++i) {
    // As QSettings itself reads it back: its writer garbles "\x01a".
    QString key = "MyApp.Startup/value" + QString::number(i);
    EXPECT_EQ(store.read("MyApp", "Startup", "value" + std::to_string(i)),
              oracle->value(key).toString().toStdString())
        << i;
  }

  put(file,
      "; written by hand\n[MyApp.Startup]\nForm1.Combo9=00\n  Form5.Combo1 = 72  \n"
      "limits=1, 2\r\n\n[a.a]\nstatus=1\n");
  IniSettings hand(file);
  EXPECT_EQ(hand.read("MyApp", "Startup", "Form1.Combo9"), "00");
  EXPECT_EQ(hand.read("MyApp", "Startup", "Form5.Combo1"), "72");
  EXPECT_EQ(hand.read("MyApp", "Startup", "limits"), "1,2");
  EXPECT_EQ(hand.read("a", "a", "status"), "1");
  EXPECT_TRUE(hand.write("MyApp", "Startup", "Form1.Combo9", "30"));
  EXPECT_EQ(slurp(file),
            "[MyApp.Startup]\nForm1.Combo9=30\nForm5.Combo1=72\nlimits=1, 2\n\n[a.a]\nstatus=1\n");
}

TEST_F(IniSettingsTest, WritingTheStoredValueTouchesNothingAndAChangeReplacesTheFile) {
  ASSERT_TRUE(IniSettings(file).write("MyApp", "Startup", "Form5.Combo1", "72"));
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);
  EXPECT_EQ(before.st_mode & 0777, 0600u);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));  // let a rewrite show in mtime

  IniSettings store(file);
  EXPECT_TRUE(store.write("MyApp", "Startup", "Form5.Combo1", "72"));
  EXPECT_TRUE(store.write("MyApp", "Startup", "Form5.Combo1", "72"));
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  EXPECT_EQ(after.st_ctim.tv_nsec, before.st_ctim.tv_nsec);

  // A change is a new file renamed into place, never a rewrite in place.
  EXPECT_TRUE(store.write("MyApp", "Startup", "Form5.Combo1", "73"));
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  EXPECT_EQ(IniSettings(copyOfFile()).read("MyApp", "Startup", "Form5.Combo1"), "73");
  EXPECT_EQ(dirEntries(), std::vector<std::string>{"settings.ini"});
}

TEST_F(IniSettingsTest, HeldWritesReadBackAtOnceAndReachTheFileInOneWrite) {
  ASSERT_TRUE(IniSettings(file).write("f", "f", "status", "0"));
  struct stat before {};
  ASSERT_EQ(::stat(file.c_str(), &before), 0);

  IniSettings store(file);
  store.hold();
  EXPECT_TRUE(store.write("f", "f", "status", "1"));
  for (int n = 1; n <= 72; ++n)
    EXPECT_TRUE(store.write("MyApp", "Startup", "Form17.Combo" + std::to_string(n), "停用"));
  EXPECT_TRUE(store.write("MyApp", "Startup", "Form17.Combo72", "会议！"));  // the last one counts
  EXPECT_EQ(store.read("f", "f", "status"), "1");
  EXPECT_EQ(store.read("MyApp", "Startup", "Form17.Combo72"), "会议！");
  struct stat held {};
  ASSERT_EQ(::stat(file.c_str(), &held), 0);
  EXPECT_EQ(held.st_ino, before.st_ino) << "nothing reaches the disk before the commit";

  EXPECT_TRUE(store.commit());
  struct stat after {};
  ASSERT_EQ(::stat(file.c_str(), &after), 0);
  EXPECT_NE(after.st_ino, before.st_ino);
  IniSettings copy(copyOfFile());
  EXPECT_EQ(copy.read("f", "f", "status"), "1");
  EXPECT_EQ(copy.read("MyApp", "Startup", "Form17.Combo1"), "停用");
  EXPECT_EQ(copy.read("MyApp", "Startup", "Form17.Combo72"), "会议！");
  EXPECT_EQ(dirEntries(), std::vector<std::string>{"settings.ini"});

  // Held values that are all stored already touch nothing; after the commit
  // writes go through at once again.
  store.hold();
  EXPECT_TRUE(store.write("f", "f", "status", "1"));
  EXPECT_TRUE(store.commit());
  struct stat same {};
  ASSERT_EQ(::stat(file.c_str(), &same), 0);
  EXPECT_EQ(same.st_ino, after.st_ino);
  EXPECT_TRUE(store.write("f", "f", "status", "0"));
  EXPECT_EQ(IniSettings(copyOfFile()).read("f", "f", "status"), "0");
}

TEST_F(IniSettingsTest, TwoStoresOnOneFileSeeAndKeepEachOthersWrites) {
  IniSettings first(file), second(file);
  EXPECT_EQ(second.read("a", "a", "status"), std::nullopt);
  ASSERT_TRUE(first.write("a", "a", "status", "1"));
  ASSERT_TRUE(second.write("b", "b", "status", "1"));  // must not drop "a"
  EXPECT_EQ(first.read("b", "b", "status"), "1");
  EXPECT_EQ(second.read("a", "a", "status"), "1");
  // An edit from outside with the same size is noticed too.
  std::string edited = slurp(file);
  edited.replace(edited.find("[a.a]\nstatus=1"), 14, "[a.a]\nstatus=0");
  put(file, edited);
  EXPECT_EQ(first.read("a", "a", "status"), "0");
}

TEST_F(IniSettingsTest, ReadsCreateNothingAndTheFirstWriteCreatesAPrivateFolder) {
  IniSettings store(file);
  EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo9"), std::nullopt);
  EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(tmp.path().toStdString() + "/config")));
  ASSERT_TRUE(store.write("MyApp", "Startup", "Form1.Combo9", "00"));
  struct stat st {};
  ASSERT_EQ(::stat(dir.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0700u);
  EXPECT_EQ(slurp(file), "[MyApp.Startup]\nForm1.Combo9=00\n");
}

TEST_F(IniSettingsTest, ALinkedFileStaysLinked) {
  std::string real = tmp.path().toStdString() + "/dotfiles/settings.ini";
  put(real, "[a.a]\nstatus=0\n");
  QDir().mkpath(QString::fromStdString(dir));
  ASSERT_EQ(::symlink(real.c_str(), file.c_str()), 0);
  ASSERT_TRUE(IniSettings(file).write("a", "a", "status", "1"));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(file)).isSymLink());
  EXPECT_EQ(slurp(real), "[a.a]\nstatus=1\n");
}

TEST_F(IniSettingsTest, AFileThatCannotBeParsedIsNeverWrittenOver) {
  std::string junk;
  for (int i = 0; i < 600; ++i) junk += static_cast<char>((i * 37 + 11) % 256);
  struct Case {
    const char* what;
    std::string bytes;
    std::optional<std::string> combo9;  // what can still be read
  };
  for (const Case& c : {
           Case{"binary junk", junk, std::nullopt},
           {"valid lines around a NUL", "[MyApp.Startup]\nForm1.Combo9=00\n\0\n"s, std::nullopt},
           {"not UTF-8", "[MyApp.Startup]\nForm1.Combo9=\xff\xfe\n", std::nullopt},
           {"unterminated group", "[MyApp.Startup\nForm1.Combo9=00\n", std::nullopt},
           {"a line without '='", "[MyApp.Startup]\nForm1.Combo9=00\nstray words\n", "00"},
       }) {
    put(file, c.bytes);
    IniSettings store(file);
    EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo9"), c.combo9) << c.what;
    EXPECT_FALSE(store.write("MyApp", "Startup", "Form1.Combo9", "30")) << c.what;
    EXPECT_FALSE(store.write("b", "b", "status", "1")) << c.what;
    EXPECT_EQ(slurp(file), c.bytes) << c.what;
    EXPECT_EQ(dirEntries(), std::vector<std::string>{"settings.ini"}) << c.what;

    // Once repaired, the same store saves again.
    put(file, "[MyApp.Startup]\nForm1.Combo9=00\n");
    EXPECT_TRUE(store.write("MyApp", "Startup", "Form1.Combo9", "30")) << c.what;
    EXPECT_EQ(IniSettings(copyOfFile()).read("MyApp", "Startup", "Form1.Combo9"), "30");
  }

  // Something other than a file in its place.
  QFile::remove(QString::fromStdString(file));
  QDir().mkpath(QString::fromStdString(file + "/inner"));
  IniSettings store(file);
  EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo9"), std::nullopt);
  EXPECT_FALSE(store.write("MyApp", "Startup", "Form1.Combo9", "30"));
  EXPECT_TRUE(QFileInfo(QString::fromStdString(file + "/inner")).isDir());
}

TEST_F(IniSettingsTest, AFolderThatCannotBeCreatedFailsQuietly) {
  put(tmp.path().toStdString() + "/config", "a file where the folder should be");
  IniSettings store(file);
  EXPECT_FALSE(store.write("MyApp", "Startup", "Form1.Combo9", "00"));
  EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo9"), std::nullopt);
  EXPECT_FALSE(IniSettings("").write("a", "a", "status", "1"));
  EXPECT_EQ(IniSettings("").read("a", "a", "status"), std::nullopt);
}

TEST_F(IniSettingsTest, AReadOnlyFolderRefusesWritesAndKeepsTheFile) {
  ASSERT_TRUE(IniSettings(file).write("MyApp", "Startup", "Form1.Combo9", "00"));
  const std::string before = slurp(file);
  ASSERT_EQ(::chmod(file.c_str(), 0444), 0);
  ASSERT_EQ(::chmod(dir.c_str(), 0555), 0);
  std::string probe = dir + "/probe";
  if (FILE* f = std::fopen(probe.c_str(), "w")) {
    std::fclose(f);
    ::unlink(probe.c_str());
    ::chmod(dir.c_str(), 0700);
    GTEST_SKIP() << "permissions are not enforced for this user (root?); failing writes are "
                    "covered by the full-disk and not-a-folder tests";
  }
  IniSettings store(file);
  EXPECT_FALSE(store.write("MyApp", "Startup", "Form1.Combo9", "30"));
  EXPECT_EQ(store.read("MyApp", "Startup", "Form1.Combo9"), "00");
  EXPECT_EQ(slurp(file), before);
  EXPECT_EQ(dirEntries(), std::vector<std::string>{"settings.ini"});

  // A file we may not even read is not taken for an empty one.
  ASSERT_EQ(::chmod(file.c_str(), 0), 0);
  IniSettings blind(file);
  EXPECT_EQ(blind.read("MyApp", "Startup", "Form1.Combo9"), std::nullopt);
  ASSERT_EQ(::chmod(dir.c_str(), 0700), 0);
  EXPECT_FALSE(blind.write("MyApp", "Startup", "Form1.Combo9", "30"));
  ::chmod(file.c_str(), 0600);
  EXPECT_EQ(slurp(file), before);
}

// Runs `body` in a child process whose files cannot grow past 4 KiB: writes
// beyond fail with EFBIG, as they would with ENOSPC on a full disk. Returns
// its exit status (-1 when it did not exit normally).
template <typename Body>
int withFullDisk(Body body) {
  pid_t pid = ::fork();
  if (pid == 0) {
    rlimit limit{4096, 4096};
    ::signal(SIGXFSZ, SIG_IGN);
    ::_exit(::setrlimit(RLIMIT_FSIZE, &limit) == 0 ? body() : 10);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(IniSettingsTest, AFullDiskFailsTheWriteAndKeepsTheOldFile) {
  ASSERT_TRUE(IniSettings(file).write("MyApp", "Startup", "Form1.Combo9", "00"));
  const std::string before = slurp(file);
  EXPECT_EQ(withFullDisk([&] {
              IniSettings store(file);
              if (store.write("MyApp", "Startup", "big", std::string(8000, 'x'))) return 1;
              if (store.read("MyApp", "Startup", "big")) return 2;  // not kept after failing
              if (store.read("MyApp", "Startup", "Form1.Combo9") != "00") return 3;
              if (!store.write("MyApp", "Startup", "small", "1")) return 4;  // not stuck
              return 0;
            }),
            0);
  std::string copy = copyOfFile();
  EXPECT_TRUE(qtParsesCleanly(copy));
  IniSettings after(copy);
  EXPECT_EQ(after.read("MyApp", "Startup", "Form1.Combo9"), "00");
  EXPECT_EQ(after.read("MyApp", "Startup", "small"), "1");
  EXPECT_EQ(after.read("MyApp", "Startup", "big"), std::nullopt);
  EXPECT_EQ(dirEntries(), std::vector<std::string>{"settings.ini"});

  const std::string saved = slurp(file);
  EXPECT_EQ(withFullDisk([&] {
              IniSettings store(file);
              return store.write("MyApp", "Startup", "big", std::string(8000, 'x')) ? 1 : 0;
            }),
            0);
  EXPECT_EQ(slurp(file), saved) << before;

  // Held writes that do not fit fail at the commit, and are dropped: reads
  // give the file's values again.
  EXPECT_EQ(withFullDisk([&] {
              IniSettings store(file);
              store.hold();
              if (!store.write("MyApp", "Startup", "big", std::string(8000, 'x'))) return 1;
              if (!store.write("MyApp", "Startup", "Form1.Combo9", "05")) return 2;
              if (store.commit()) return 3;
              if (store.read("MyApp", "Startup", "big")) return 4;
              if (store.read("MyApp", "Startup", "Form1.Combo9") != "00") return 5;
              return 0;
            }),
            0);
  EXPECT_EQ(slurp(file), saved);
  EXPECT_EQ(dirEntries(), std::vector<std::string>{"settings.ini"});
}

TEST_F(IniSettingsTest, KillingTheWriterAtAnyMomentLeavesAWholeFile) {
  auto key = [](int i) { return "Form17.Combo" + std::to_string(i); };
  auto value = [](int i) {
    return "提醒 " + std::to_string(i) + " \"q\" ;= " + std::string(i % 40, '#');
  };
  std::mt19937 random(std::random_device{}());
  int longest = 0;
  for (int round = 0; round < 20; ++round) {
    QDir(QString::fromStdString(dir)).removeRecursively();
    ASSERT_TRUE(IniSettings(file).write("f", "f", "status", "1"));
    int delayUs = std::uniform_int_distribution<int>(500, 40'000)(random);
    pid_t pid = ::fork();
    if (pid == 0) {
      IniSettings store(file);
      for (int i = 0; i < 5000; ++i)
        if (!store.write("MyApp", "Startup", key(i), value(i))) ::_exit(1);
      ::_exit(0);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
    ::kill(pid, SIGKILL);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) != 0) << "a write failed";

    SCOPED_TRACE("killed after " + std::to_string(delayUs) + " us");
    std::string copy = copyOfFile();
    ASSERT_TRUE(qtParsesCleanly(copy)) << slurp(file);
    IniSettings saved(copy);
    EXPECT_EQ(saved.read("f", "f", "status"), "1");
    int written = 0;
    while (saved.read("MyApp", "Startup", key(written)) == value(written)) ++written;
    // Exactly a prefix of the writes: nothing after the first missing one.
    EXPECT_EQ(qt(copy)->allKeys().size(), written + 1);
    longest = std::max(longest, written);

    // A temporary file the writer may have left does not survive the next write.
    EXPECT_TRUE(IniSettings(file).write("MyApp", "Startup", "after", "1"));
    EXPECT_EQ(dirEntries(), std::vector<std::string>{"settings.ini"});
  }
  EXPECT_GT(longest, 0) << "the writer was always killed before its first write";
}

}  // namespace
}  // namespace qv::lnx
