#include "link/settings.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "support/failing_files.h"
#include "support/scratch_dir.h"

namespace vrellix {
namespace {

using testing::FailingFiles;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

// The file's section and key names, in the Shift-JIS bytes the file holds.
const std::string kSerial = "\x83\x56\x83\x8A\x83\x41\x83\x8B\x92\xCA\x90\x4D\x90\xDD\x92\xE8";  // シリアル通信設定
const std::string kPortNo = "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x94\xD4\x8D\x86";  // ｼﾘｱﾙﾎﾟｰﾄ番号
const std::string kPortName = "\xBC\xD8\xB1\xD9\xCE\xDF\xB0\xC4\x96\xBC";          // ｼﾘｱﾙﾎﾟｰﾄ名
const std::string kInfrared = "\x90\xD4\x8A\x4F\x90\xFC\x92\xCA\x90\x4D\x90\xDD\x92\xE8";  // 赤外線通信設定
const std::string kDelay = "\xBA\xCF\xDD\xC4\xDE" "DELAY";                         // ｺﾏﾝﾄﾞDELAY

std::string Section(const std::string& name) { return "[" + name + "]\r\n"; }
std::string Entry(const std::string& key, const std::string& value) { return key + "=" + value + "\r\n"; }

class SettingsTest : public ::testing::Test {
 protected:
  // LoadIniSettings with a write-back that must succeed.
  LinkSettings Load() {
    LinkSettings settings;
    EXPECT_TRUE(LoadIniSettings(path, settings)) << "write-back failed";
    return settings;
  }

  ScratchDir dir;
  const std::string path = dir.File("rzt_input.ini");
};

TEST_F(SettingsTest, NoFileIsCreatedWithTheDefaultsPortSectionFirst) {
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, 1);
  EXPECT_EQ(settings.m_nCommandDelay, 100);
  EXPECT_EQ(settings.portName, "");
  EXPECT_EQ(ReadBytes(path),
            Section(kSerial) + Entry(kPortNo, "1") + Section(kInfrared) + Entry(kDelay, "100"));
}

TEST_F(SettingsTest, OtherSectionsAndCommentsAreKeptByteForByte) {
  const std::string head = "; written by hand\n[Window]\nx=10\n\n";
  const std::string tail = "; end\n[Other]\r\nk=\x94\xD4\r\n";  // a stray lead byte pair too
  WriteBytes(path, head + "[" + kSerial + "]\n" + kPortNo + "=4\n; port\n\n" +
                       "[" + kInfrared + "]\r\n" + kDelay + "= 250 \r\n" + tail);
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, 4);
  EXPECT_EQ(settings.m_nCommandDelay, 250);
  EXPECT_EQ(ReadBytes(path), head + "[" + kSerial + "]\n" + kPortNo + "=4\n; port\n\n" +
                                 "[" + kInfrared + "]\r\n" + kDelay + "= 250 \r\n" + tail);
}

struct ValueCase {
  const char* name;
  const char* port;   // as written in the file
  const char* delay;
  int portNo;
  int delayMs;
  const char* portWritten;  // as written back
  const char* delayWritten;
};

void PrintTo(const ValueCase& c, std::ostream* os) { *os << (c.name); }

class SettingsValues : public SettingsTest, public ::testing::WithParamInterface<ValueCase> {};

TEST_P(SettingsValues, AreReadAsIntegersAndWrittenBackInPlainDecimal) {
  const ValueCase& c = GetParam();
  WriteBytes(path, Section(kSerial) + Entry(kPortNo, c.port) + Section(kInfrared) + Entry(kDelay, c.delay));
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, c.portNo);
  EXPECT_EQ(settings.m_nCommandDelay, c.delayMs);
  EXPECT_EQ(ReadBytes(path), Section(kSerial) + Entry(kPortNo, c.portWritten) + Section(kInfrared) +
                                 Entry(kDelay, c.delayWritten));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsValues,
    ::testing::Values(
        //        name              port     delay    portNo delay  port  delay
        ValueCase{"Plain",          "3",     "50",      3,    50,   "3",  "50"},
        ValueCase{"Garbage",        "COM3",  "fast",    0,     0,   "0",  "0"},
        ValueCase{"Negative",       "-2",    "-100",    0,     0,   "0",  "0"},
        ValueCase{"TrailingText",   "12abc", "200ms",  12,   200,   "12", "200"},
        ValueCase{"EmptyIsDefault", "",      "",        1,   100,   "1",  "100"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, MissingKeysAreAddedToTheirSections) {
  WriteBytes(path, Section(kInfrared) + Entry("other", "x") + Section(kSerial));
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, 1);
  EXPECT_EQ(settings.m_nCommandDelay, 100);
  EXPECT_EQ(ReadBytes(path),
            Section(kInfrared) + Entry("other", "x") + Entry(kDelay, "100") + Section(kSerial) + Entry(kPortNo, "1"));
}

TEST_F(SettingsTest, DeviceNameIsReadButNeverWritten) {
  const std::string content =
      Section(kSerial) + Entry(kPortName, " /dev/ttyUSB0 ") + Entry(kPortNo, "2") + Section(kInfrared) + Entry(kDelay, "0");
  WriteBytes(path, content);
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.portName, "/dev/ttyUSB0");
  EXPECT_EQ(settings.m_nPortNo, 2);
  EXPECT_EQ(settings.m_nCommandDelay, 0);
  EXPECT_EQ(ReadBytes(path), content);

  // Without the key nothing adds it.
  std::filesystem::remove(path);
  Load();
  EXPECT_EQ(ReadBytes(path).find(kPortName), std::string::npos);
}

TEST_F(SettingsTest, ReadIniSettingsWritesNothing) {
  const LinkSettings missing = ReadIniSettings(path);
  EXPECT_EQ(missing.m_nPortNo, 1);
  EXPECT_EQ(missing.m_nCommandDelay, 100);
  EXPECT_FALSE(std::filesystem::exists(path));

  const std::string content = Section(kSerial) + Entry(kPortNo, "5x") + Entry(kPortName, "COM12");
  WriteBytes(path, content);
  const LinkSettings read = ReadIniSettings(path);
  EXPECT_EQ(read.m_nPortNo, 5);
  EXPECT_EQ(read.m_nCommandDelay, 100);
  EXPECT_EQ(read.portName, "COM12");
  EXPECT_EQ(ReadBytes(path), content);
}

TEST_F(SettingsTest, AFailedWriteBackLeavesTheFileByteIdenticalAndIsReported) {
  const std::string old = Section(kSerial) + Entry(kPortNo, "03") + Section(kInfrared) + "; no delay\r\n";
  for (FailingFiles::Step step : {FailingFiles::kWriteHalf, FailingFiles::kRename}) {
    WriteBytes(path, old);
    FailingFiles files(step);
    LinkSettings settings;
    EXPECT_FALSE(LoadIniSettings(path, settings, files));
    EXPECT_EQ(settings.m_nPortNo, 3) << "the values read are used all the same";
    EXPECT_EQ(settings.m_nCommandDelay, 100);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.EntryCount(), 1u) << "temporary file left behind";
  }
}

// A lone CR ends a line: the keys are found, each line keeps its own ending, and
// running again changes nothing (the file once grew by both keys on every run).
TEST_F(SettingsTest, CrOnlyFileIsReadAndRewrittenWithoutGrowing) {
  WriteBytes(path, "[" + kSerial + "]\r" + kPortName + "=/dev/ttyUSB1\r" + kPortNo + "=02\r[" + kInfrared + "]\r" +
                       kDelay + "=40\r");
  const std::string rewritten =
      "[" + kSerial + "]\r" + kPortName + "=/dev/ttyUSB1\r" + kPortNo + "=2\r[" + kInfrared + "]\r" + kDelay + "=40\r";
  for (int run = 0; run < 2; ++run) {
    const LinkSettings settings = Load();
    EXPECT_EQ(settings.portName, "/dev/ttyUSB1");
    EXPECT_EQ(settings.m_nPortNo, 2);
    EXPECT_EQ(settings.m_nCommandDelay, 40);
    EXPECT_EQ(ReadBytes(path), rewritten) << "run " << run;
  }
}

TEST_F(SettingsTest, AFileOverOneMebibyteIsNeitherReadNorWritten) {
  const std::string settings = Section(kSerial) + Entry(kPortNo, "5") + Section(kInfrared) + Entry(kDelay, "7");
  const std::size_t mebibyte = 1024 * 1024;
  const std::string fits = settings + ";" + std::string(mebibyte - settings.size() - 1, 'x');
  WriteBytes(path, fits);
  EXPECT_EQ(Load().m_nPortNo, 5) << "a file of exactly 1 MiB is read";
  EXPECT_EQ(ReadBytes(path), fits);

  WriteBytes(path, fits + "x");
  LinkSettings read;
  EXPECT_FALSE(LoadIniSettings(path, read));
  EXPECT_EQ(read.m_nPortNo, kDefaultPortNo);
  EXPECT_EQ(read.m_nCommandDelay, kDefaultCommandDelay);
  EXPECT_EQ(ReadBytes(path), fits + "x");
}

TEST(SettingsPort, DeviceNameWinsOverTheNumber) {
  LinkSettings settings;
  settings.m_nPortNo = 3;
  EXPECT_EQ(PortDeviceName(settings), "/dev/ttyS2");
  settings.m_nPortNo = 12;
  EXPECT_EQ(PortDeviceName(settings), "/dev/ttyS0");
  settings.portName = "/dev/ttyUSB0";
  EXPECT_EQ(PortDeviceName(settings), "/dev/ttyUSB0");
}

TEST(SettingsPort, FailureMessageNamesTheDeviceTried) {
  const std::string before = "通信ポートの初期化に失敗しました。環境を確認して再起動して下さい(";
  const std::string after = ")\n通信ポートを変更する場合はINIファイルを編集して下さい";
  LinkSettings settings;
  settings.m_nPortNo = 3;
  EXPECT_EQ(PortFailureMessage(settings), before + "/dev/ttyS2" + after);
  settings.m_nPortNo = 12;
  EXPECT_EQ(PortFailureMessage(settings), before + "/dev/ttyS0" + after);
  settings.portName = "/dev/ttyUSB0";
  EXPECT_EQ(PortFailureMessage(settings), before + "/dev/ttyUSB0" + after);
}

// The path is the current directory's, however long (no 255-byte buffer).
TEST(SettingsPath, IsTheCurrentDirectoryOfAnyLength) {
  ScratchDir dir;
  std::filesystem::path deep = dir.Path();
  while (deep.string().size() < 1200) deep /= std::string(100, 'd');
  std::filesystem::create_directories(deep);

  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(deep);
  const std::string path = SettingsPath();
  LinkSettings settings;
  const bool written = LoadIniSettings(path, settings);
  std::filesystem::current_path(previous);

  EXPECT_EQ(path, (deep / "rzt_input.ini").string());
  EXPECT_TRUE(written);
  EXPECT_EQ(settings.m_nPortNo, 1);
  EXPECT_TRUE(std::filesystem::exists(deep / "rzt_input.ini"));
}

}  // namespace
}  // namespace vrellix
