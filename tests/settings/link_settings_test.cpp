#include "serial/serial_port.h"
#include "settings/link_settings.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <cerrno>
#include <vector>

#include <filesystem>

#include "support/failing_files.h"
#include "support/scratch_dir.h"
#include "support/platform_names.h"
#include "support/cp932.h"
#include "support/settings_file.h"

namespace vrellix {
namespace {

using testing::FailingFiles;
using testing::IniEntry;
using testing::IniSection;
using testing::kDelayKey;
using testing::kInfraredSection;
using testing::kPortNameKey;
using testing::kPortNames;
using testing::kPortNumberKey;
using testing::kSerialSection;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::WriteBytes;

class SettingsTest : public ::testing::Test {
 protected:
  // LoadIniSettings with a write-back that must succeed.
  LinkSettings Load() {
    LinkSettings settings;
    EXPECT_EQ(LoadIniSettings(path, settings).outcome, SettingsLoad::Outcome::kDone) << "write-back failed";
    return settings;
  }

  ScratchDir dir;
  const std::string path = dir.File("rzt_input.ini");
};

TEST_F(SettingsTest, NoFileIsCreatedWithTheDefaultsPortSectionFirst) {
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, 1);
  EXPECT_EQ(settings.m_nCommandDelay, 100);
  EXPECT_EQ(settings.m_strPortName, "");
  EXPECT_EQ(ReadBytes(path),
            IniSection(kSerialSection) + IniEntry(kPortNumberKey, "1") + IniSection(kInfraredSection) + IniEntry(kDelayKey, "100"));
}

TEST_F(SettingsTest, OtherSectionsAndCommentsAreKeptByteForByte) {
  const std::string head = "; written by hand\n[Window]\nx=10\n\n";
  const std::string tail = "; end\n[Other]\r\nk=\x94\xD4\r\n";  // a stray lead byte pair too
  WriteBytes(path, head + "[" + kSerialSection + "]\n" + kPortNumberKey + "=4\n; port\n\n" +
                       "[" + kInfraredSection + "]\r\n" + kDelayKey + "= 250 \r\n" + tail);
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, 4);
  EXPECT_EQ(settings.m_nCommandDelay, 250);
  EXPECT_EQ(ReadBytes(path), head + "[" + kSerialSection + "]\n" + kPortNumberKey + "=4\n; port\n\n" +
                                 "[" + kInfraredSection + "]\r\n" + kDelayKey + "= 250 \r\n" + tail);
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
  WriteBytes(path, IniSection(kSerialSection) + IniEntry(kPortNumberKey, c.port) + IniSection(kInfraredSection) + IniEntry(kDelayKey, c.delay));
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, c.portNo);
  EXPECT_EQ(settings.m_nCommandDelay, c.delayMs);
  EXPECT_EQ(ReadBytes(path), IniSection(kSerialSection) + IniEntry(kPortNumberKey, c.portWritten) + IniSection(kInfraredSection) +
                                 IniEntry(kDelayKey, c.delayWritten));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsValues,
    ::testing::Values(
        //        name              port     delay    portNo delay  port  delay
        ValueCase{"Plain",          "3",     "50",      3,    50,   "3",  "50"},
        ValueCase{"Garbage",        "COM3",  "fast",    0,     0,   "0",  "0"},
        ValueCase{"Negative",       "-2",    "-100",    0,     0,   "0",  "0"},
        ValueCase{"TrailingText",   "12abc", "200ms",  12,   200,   "12", "200"},
        ValueCase{"EmptyIsDefault", "",      "",        1,   100,   "1",  "100"},
        ValueCase{"DelayAtItsLimit", "1",    "10000",   1, 10000,   "1",  "10000"},
        ValueCase{"DelayOverItsLimit", "1",  "10001",   1, 10000,   "1",  "10000"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, MissingKeysAreAddedToTheirSections) {
  WriteBytes(path, IniSection(kInfraredSection) + IniEntry("other", "x") + IniSection(kSerialSection));
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_nPortNo, 1);
  EXPECT_EQ(settings.m_nCommandDelay, 100);
  EXPECT_EQ(ReadBytes(path),
            IniSection(kInfraredSection) + IniEntry("other", "x") + IniEntry(kDelayKey, "100") + IniSection(kSerialSection) + IniEntry(kPortNumberKey, "1"));
}

TEST_F(SettingsTest, DeviceNameIsReadButNeverWritten) {
  const std::string content =
      IniSection(kSerialSection) + IniEntry(kPortNameKey, " /dev/ttyUSB0 ") + IniEntry(kPortNumberKey, "2") + IniSection(kInfraredSection) + IniEntry(kDelayKey, "0");
  WriteBytes(path, content);
  const LinkSettings settings = Load();
  EXPECT_EQ(settings.m_strPortName, "/dev/ttyUSB0");
  EXPECT_EQ(settings.m_nPortNo, 2);
  EXPECT_EQ(settings.m_nCommandDelay, 0);
  EXPECT_EQ(ReadBytes(path), content);

  // Without the key nothing adds it.
  std::filesystem::remove(path);
  Load();
  EXPECT_EQ(ReadBytes(path).find(kPortNameKey), std::string::npos);
}

TEST_F(SettingsTest, ReadIniSettingsWritesNothing) {
  const LinkSettings missing = ReadIniSettings(path);
  EXPECT_EQ(missing.m_nPortNo, 1);
  EXPECT_EQ(missing.m_nCommandDelay, 100);
  EXPECT_FALSE(std::filesystem::exists(path));

  const std::string content = IniSection(kSerialSection) + IniEntry(kPortNumberKey, "5x") + IniEntry(kPortNameKey, "COM12");
  WriteBytes(path, content);
  const LinkSettings read = ReadIniSettings(path);
  EXPECT_EQ(read.m_nPortNo, 5);
  EXPECT_EQ(read.m_nCommandDelay, 100);
  EXPECT_EQ(read.m_strPortName, "COM12");
  EXPECT_EQ(ReadBytes(path), content);
}

TEST_F(SettingsTest, AFailedWriteBackLeavesTheFileByteIdenticalAndIsReported) {
  const std::string old = IniSection(kSerialSection) + IniEntry(kPortNumberKey, "03") + IniSection(kInfraredSection) + "; no delay\r\n";
  for (FailingFiles::Step step : {FailingFiles::kWriteHalf, FailingFiles::kRename, FailingFiles::kNothing}) {
    WriteBytes(path, old);
    if (step == FailingFiles::kNothing) testing::MakeReadOnly(path);
    FailingFiles files(step);
    LinkSettings settings;
    EXPECT_EQ(LoadIniSettings(path, settings, files).outcome, SettingsLoad::Outcome::kNotWritten);
    EXPECT_EQ(settings.m_nPortNo, 3) << "the values read are used all the same";
    EXPECT_EQ(settings.m_nCommandDelay, 100);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_EQ(dir.EntryCount(), 1u) << "temporary file left behind";
  }
}

// A lone CR ends a line: the keys are found, each line keeps its own ending, and
// running again changes nothing (the file once grew by both keys on every run).
TEST_F(SettingsTest, CrOnlyFileIsReadAndRewrittenWithoutGrowing) {
  WriteBytes(path, "[" + kSerialSection + "]\r" + kPortNameKey + "=/dev/ttyUSB1\r" + kPortNumberKey + "=02\r[" + kInfraredSection + "]\r" +
                       kDelayKey + "=40\r");
  const std::string rewritten =
      "[" + kSerialSection + "]\r" + kPortNameKey + "=/dev/ttyUSB1\r" + kPortNumberKey + "=2\r[" + kInfraredSection + "]\r" + kDelayKey + "=40\r";
  for (int run = 0; run < 2; ++run) {
    const LinkSettings settings = Load();
    EXPECT_EQ(settings.m_strPortName, "/dev/ttyUSB1");
    EXPECT_EQ(settings.m_nPortNo, 2);
    EXPECT_EQ(settings.m_nCommandDelay, 40);
    EXPECT_EQ(ReadBytes(path), rewritten) << "run " << run;
  }
}

// Notepad saves UTF-8 with or without a byte-order mark, or UTF-16: the values
// are read, and the file is written back in its encoding, every other line kept.
#define VRELLIX_SETTINGS(portNo) \
  "; ﾒﾓ\r\n[シリアル通信設定]\r\nｼﾘｱﾙﾎﾟｰﾄ名=/dev/ttyUSB1\r\nｼﾘｱﾙﾎﾟｰﾄ番号=" portNo "\r\n\r\n[赤外線通信設定]\nｺﾏﾝﾄﾞDELAY= 250 \n"
TEST_F(SettingsTest, EditorEncodingsAreReadAndWrittenBackAsTheyCame) {
  const auto utf16 = [](std::u16string_view text, bool bigEndian) {
    std::string bytes;
    for (char16_t unit : u"\uFEFF" + std::u16string(text)) {
      bytes += {static_cast<char>(bigEndian ? unit >> 8 : unit & 0xFF), static_cast<char>(bigEndian ? unit & 0xFF : unit >> 8)};
    }
    return bytes;
  };
  const std::pair<std::string, std::string> cases[] = {
      {testing::Cp932(VRELLIX_SETTINGS("03")), testing::Cp932(VRELLIX_SETTINGS("3"))},
      {VRELLIX_SETTINGS("03"), VRELLIX_SETTINGS("3")},
      {"\xEF\xBB\xBF" VRELLIX_SETTINGS("03"), "\xEF\xBB\xBF" VRELLIX_SETTINGS("3")},
      {utf16(u"" VRELLIX_SETTINGS("03"), false), utf16(u"" VRELLIX_SETTINGS("3"), false)},
      {utf16(u"" VRELLIX_SETTINGS("03"), true), utf16(u"" VRELLIX_SETTINGS("3"), true)},
  };
  for (const auto& [before, after] : cases) {
    WriteBytes(path, before);
    const LinkSettings settings = Load();
    EXPECT_EQ(settings.m_strPortName + " " + std::to_string(settings.m_nPortNo) + " " + std::to_string(settings.m_nCommandDelay),
              "/dev/ttyUSB1 3 250");
    EXPECT_EQ(ReadBytes(path), after);
  }
}

TEST_F(SettingsTest, AFileOverOneMebibyteIsNeitherReadNorWritten) {
  const std::string settings = IniSection(kSerialSection) + IniEntry(kPortNumberKey, "5") + IniSection(kInfraredSection) + IniEntry(kDelayKey, "7");
  const std::size_t mebibyte = 1024 * 1024;
  const std::string fits = settings + ";" + std::string(mebibyte - settings.size() - 1, 'x');
  WriteBytes(path, fits);
  EXPECT_EQ(Load().m_nPortNo, 5) << "a file of exactly 1 MiB is read";
  EXPECT_EQ(ReadBytes(path), fits);

  WriteBytes(path, fits + "x");
  LinkSettings read;
  EXPECT_EQ(LoadIniSettings(path, read).outcome, SettingsLoad::Outcome::kNotRead);
  EXPECT_EQ(read.m_nPortNo, kDefaultPortNo);
  EXPECT_EQ(read.m_nCommandDelay, kDefaultCommandDelay);
  EXPECT_EQ(ReadBytes(path), fits + "x");
}

TEST(SettingsPort, DeviceNameWinsOverTheNumber) {
  LinkSettings settings;
  settings.m_nPortNo = 3;
  EXPECT_EQ(PortDeviceName(settings), kPortNames.third);
  settings.m_nPortNo = 12;
  EXPECT_EQ(PortDeviceName(settings), kPortNames.twelfth);
  settings.m_nPortNo = 300;
  EXPECT_EQ(PortDeviceName(settings), kPortNames.outOfRange);
  settings.m_strPortName = kPortNames.namedDevice;
  EXPECT_EQ(PortDeviceName(settings), kPortNames.namedDevice);
}

// A number is used as it stands or, with a warning that names it and the port
// used instead, not at all; a device name set makes the number irrelevant.
TEST(SettingsPort, WarnsExactlyWhenTheNumberNamesNoPort) {
  for (const int number : {-1, 0, 1, 9, 10, 12, 255, 256, 300, 99999}) {
    LinkSettings settings;
    settings.m_nPortNo = number;
    const std::string warning = PortNumberWarning(settings);
    const bool namesBoth = warning.find(" " + std::to_string(number) + " ") != std::string::npos &&
                           warning.find(kPortNames.outOfRange) != std::string::npos;
    EXPECT_EQ(warning.empty(), PortNumberNamesAPort(number)) << number;
    EXPECT_TRUE(warning.empty() || namesBoth) << warning;
    settings.m_strPortName = kPortNames.namedDevice;
    EXPECT_EQ(PortNumberWarning(settings), "") << number;
  }
}

const std::string kFailureHead = "通信ポートの初期化に失敗しました。環境を確認して再起動して下さい(";
const std::string kFailureTail = ")\n通信ポートを変更する場合はINIファイルを編集して下さい";

TEST(SettingsPort, FailureMessageNamesTheDeviceTried) {
  const PortFailure busy{PortFailureCause::kBusy, EBUSY, ""};
  const std::string reason = "\n" + PortFailureReason(busy, {});
  const std::string named = kPortNames.namedDevice;
  LinkSettings settings;
  settings.m_nPortNo = 3;
  EXPECT_EQ(PortFailureMessage(settings, busy), kFailureHead + kPortNames.third + kFailureTail + reason);
  for (const int number : {12, 300}) {
    settings.m_nPortNo = number;
    EXPECT_EQ(PortFailureMessage(settings, busy), kFailureHead + PortNameForNumber(number) + kFailureTail + reason);
  }
  settings.m_strPortName = named;
  EXPECT_EQ(PortFailureMessage(settings, busy), kFailureHead + named + kFailureTail + reason);
  EXPECT_EQ(PortFailureMessage(settings, PortFailure{}), kFailureHead + named + kFailureTail);
}

// The last line of the message for each cause; the lines above it never change.
TEST(SettingsPort, FailureReasonForEachCause) {
  const std::vector<SerialPortInfo> present = {{"/dev/ttyS0", ""}, {"/dev/ttyUSB0", "usb-FTDI_X-if00-port0"}};
  const struct {
    const char* name;
    PortFailure failure;
    std::vector<SerialPortInfo> present;
    std::string reason;
  } cases[] = {
      {"not found", {PortFailureCause::kNotFound, ENOENT, ""}, present,
       "原因: この名前の通信ポートはありません。見つかった通信ポート: /dev/ttyS0, /dev/ttyUSB0 (usb-FTDI_X-if00-port0)"},
      {"none found", {PortFailureCause::kNotFound, ENOENT, ""}, {},
       "原因: この名前の通信ポートはありません。通信ポートは1つも見つかりませんでした(機器の接続を確認して下さい)"},
      {"group", {PortFailureCause::kNoPermission, EACCES, "uucp"}, present,
       "原因: この通信ポートを使う権限がありません。ユーザーをグループ「uucp」に加えて(sudo usermod -aG uucp $USER)、ログインし直して下さい"},
      {"no group", {PortFailureCause::kNoPermission, EACCES, ""}, {},
       "原因: この通信ポートを使う権限がありません。管理者に使用の許可を求めて下さい"},
      {"busy", {PortFailureCause::kBusy, EBUSY, ""}, present,
       "原因: 他のプログラムがこの通信ポートを使用中です。そのプログラムを終了させて下さい"},
      {"not serial", {PortFailureCause::kNotSerial, ENOTTY, ""}, {},
       "原因: 指定されたものはシリアル通信ポートではありません"},
      {"system", {PortFailureCause::kSystemError, EIO, ""}, {},
       "原因: " + SystemErrorText(EIO) + "(エラーコード " + std::to_string(EIO) + ")"},
      {"opened", {PortFailureCause::kNone, 0, ""}, present, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(PortFailureReason(c.failure, c.present), c.reason);
  }
  EXPECT_FALSE(SystemErrorText(EIO).empty());
}

// The path is the current directory's, however long (no 255-byte buffer).
TEST(SettingsPath, IsTheCurrentDirectoryOfAnyLength) {
  if (*testing::kNoLongCurrentDirectory) GTEST_SKIP() << testing::kNoLongCurrentDirectory;
  ScratchDir dir;
  std::filesystem::path deep = dir.Path();
  while (deep.string().size() < 1200) deep /= std::string(100, 'd');
  std::filesystem::create_directories(deep);

  const std::filesystem::path previous = std::filesystem::current_path();
  std::filesystem::current_path(deep);
  const std::string path = SettingsPath();
  LinkSettings settings;
  const bool written = LoadIniSettings(path, settings).outcome == SettingsLoad::Outcome::kDone;
  std::filesystem::current_path(previous);

  EXPECT_EQ(path, (deep / "rzt_input.ini").u8string());
  EXPECT_TRUE(written);
  EXPECT_EQ(settings.m_nPortNo, 1);
  EXPECT_TRUE(std::filesystem::exists(deep / "rzt_input.ini"));
}

}  // namespace
}  // namespace vrellix
