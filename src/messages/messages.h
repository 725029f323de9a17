// The program's own texts (UTF-8), in one place for the core and every front
// end. They are shown exactly as they stand: users and their documents know them.
#pragma once

#include <cstdint>
#include <string>

namespace vrellix::messages {

// ---- Entering an album: the question before, the outcome after.

inline constexpr char kStartQuestion[] =
    "ＲＺＴへ文字入力を開始します\n入力を行うプレイリストが反転表示状態である事を確認して下さい\nよろしいですか？";
inline constexpr char kJobSucceeded[] = "入力処理は正常に終了しました";
inline constexpr char kJobFailed[] = "エラーが発生したので入力処理を中止します(たぶんシリアル通信エラー)";
// The window's failure box: kJobFailed with what to look at before the next try.
inline const std::string kJobFailedBox =
    std::string(kJobFailed) + "\n赤外線送信機のケーブルと電源、通信設定の通信ポートを確認して下さい";
inline constexpr char kAbortQuestion[] = "入力処理を中止します。よろしいですか？";
inline constexpr char kThreadStartFailed[] = "ＲＺＴ入力処理スレッドの起動に失敗しました";
inline constexpr char kForcedStop[] = "ＲＺＴ入力処理スレッド強制停止";
inline constexpr char kSuccessPostFailed[] = "PostMessageに失敗しました(WM_USER_PROGRESS_SUCCESS";
inline constexpr char kStopPostFailed[] = "PostMessageに失敗しました(WM_USER_PROGRESS_STOP";

// The start question with the estimated time, in whole minutes (at least 1),
// before its last line.
inline std::string StartQuestion(long long minutes) {
  const std::string question = kStartQuestion;
  const std::size_t last = question.rfind('\n') + 1;
  return question.substr(0, last) + "約" + std::to_string(minutes) + "分かかります\n" + question.substr(last);
}

// ---- The job's status line.

inline constexpr char kStatusTitle[] = "タイトル名入力中";
inline constexpr char kStatusYomi[] = "よみ入力中";
inline constexpr char kStatusArtist[] = "アーティスト名入力中";
inline constexpr char kStatusTracks[] = "トラック情報入力中";
// Track k of the n selected ones.
inline std::string TrackStatus(int k, int n) {
  return std::string(kStatusTracks) + "[ " + std::to_string(k) + "／" + std::to_string(n) + " ]";
}

// ---- After a stop or a failure: where the job was and what to do on the
// device before the next start. The header fields' names serve every message
// that names a field.

inline constexpr char kPlaceTitle[] = "タイトル";
inline constexpr char kPlaceYomi[] = "よみ";
inline constexpr char kPlaceArtist[] = "アーティスト";
// Track n, from 1.
inline std::string PlaceTrack(int number) { return "トラック" + std::to_string(number); }
// place: one of the names above.
inline std::string StoppedAt(const std::string& place) { return "「" + place + "」の入力中に中止しました"; }
inline constexpr char kReturnToPlaylist[] =
    "ＲＺＴは入力途中の画面のままです。次に入力を開始する前に、リモコンでＲＺＴをプレイリストの画面まで戻し、"
    "入力を行うプレイリストを反転表示状態にして下さい";
// The offer after a stop in a track, and the start question's first line when
// the user took it. place: PlaceTrack's name.
inline std::string ResumeQuestion(const std::string& place) {
  return "次の処理開始で「" + place + "から再開」しますか？\n(「いいえ」ではアルバム全体を入力します)";
}
inline std::string ResumeNote(const std::string& place) { return "「" + place + "から再開」します"; }
// While the user's offer stands: the main window's caption, and the line before
// the question when leaving the program.
inline std::string ResumeCaption(const std::string& caption, const std::string& place) {
  return caption + " - 「" + place + "から再開」";
}
inline std::string ResumeLost(const std::string& place) { return "終了すると「" + place + "から再開」はできなくなります"; }

// The progress window's lines under the bar: the track being entered (number
// from 1), and the times as "m:ss".
inline std::string TrackItem(int number, const std::string& name) { return PlaceTrack(number) + ": " + name; }
inline std::string ProgressTimes(const std::string& elapsed, const std::string& remaining) {
  return "経過 " + elapsed + "　残り 約" + remaining;
}

// ---- The windows.

inline constexpr char kExitQuestion[] = "終了します。よろしいですか？";
inline constexpr char kUnsavedExitQuestion[] = "保存されていない変更があります。保存せずに終了しますか？";
inline constexpr char kUnsavedLoadQuestion[] =
    "保存されていない変更があります。保存せずにCSVファイルを読み込みますか？";
// (&P): the buttons take L, S, G and X, and the system menu S for its サイズ変更.
inline constexpr char kPortSettingsItem[] = "通信設定(&P)...";
inline constexpr char kProgramCaption[] = "Vrellix";
inline constexpr char kSimulatorCaption[] = "Vrellix (シミュレータ)";
inline constexpr char kAboutItem[] = "Vrellix のﾊﾞｰｼﾞｮﾝ情報(&A)...";
// The main window's line about what jobs run on: the port and the command delay.
inline std::string PortInUse(const std::string& port) { return "通信ポート: " + port; }
inline std::string PortNotOpen(const std::string& port) { return "通信ポート: " + port + " (開けませんでした)"; }
inline constexpr char kSimulatorInUse[] = "シミュレータ (通信ポートは使いません)";
inline std::string LinkLine(const std::string& where, int delayMs) {
  return where + "　ｺﾏﾝﾄﾞDELAY: " + std::to_string(delayMs) + "ms";
}
// The 通信設定 dialog's line under the list.
inline constexpr char kNoPortFound[] = "通信ポートは1つも見つかりませんでした(機器の接続を確認して下さい)";
inline std::string PortsFound(const std::string& present) { return "見つかった通信ポート: " + present; }
// The file dialogs' filters.
inline constexpr char kCsvFilesFilter[] = "CSVファイル (*.csv)";
inline constexpr char kCueFilesFilter[] = "CUEシート (*.cue)";
inline constexpr char kAllFilesFilter[] = "すべてのファイル (*.*)";
// An edit field's own context menu where the toolkit has none of its own (Win32).
inline constexpr char kUndoItem[] = "元に戻す(&U)";
inline constexpr char kCutItem[] = "切り取り(&T)";
inline constexpr char kCopyItem[] = "コピー(&C)";
inline constexpr char kPasteItem[] = "貼り付け(&P)";
inline constexpr char kDeleteItem[] = "削除(&D)";
inline constexpr char kSelectAllItem[] = "すべて選択(&A)";
inline constexpr char kTrackListNumber[] = "No";
inline constexpr char kTrackListName[] = "名称";
inline constexpr char kTrackListYomi[] = "よみ";
inline constexpr char kProgressStatusLabel[] = "処理内容";
inline constexpr char kAbortButton[] = "中断";
inline constexpr char kSimulatorHolds[] = "シミュレータのＲＺＴが保持している内容:";
inline constexpr char kSimulatorMatches[] = "ＲＺＴはアルバムのとおりの内容を保持しています";
inline constexpr char kSimulatorJobUnfinished[] = "入力処理は正常に終了していません";
inline constexpr char kSimulatorDiffers[] = "アルバムと異なる項目があります: ";
inline constexpr char kSimulatorRefusedKeys[] = "ＲＺＴが受け付けないキーがありました (error 行)";
// When the job entered every field right, but fields the album leaves empty
// still hold old text: the first line, one line per field, the last line.
inline constexpr char kSimulatorEnteredMatch[] = "入力した項目はアルバムのとおりです";
inline std::string LeftAsItWas(const std::string& field) { return field + ": 以前の内容のまま"; }
inline constexpr char kSimulatorEmptyNotEntered[] =
    "(アルバムで空欄の項目は入力しないため、ＲＺＴには以前の内容が残っています)";

// ---- Field names that end the messages about a field.

inline constexpr char kTitleLabel[] = "(Title)";
inline constexpr char kYomiLabel[] = "(よみ)";
inline constexpr char kArtistLabel[] = "(Artist)";
inline constexpr char kTrackNameLabel[] = "(曲名)";
// "(Track[n])", n from 1.
inline std::string TrackLabel(int number) { return "(Track[" + std::to_string(number) + "])"; }

// ---- The checks before entry and in the track edit dialog.

inline constexpr char kNothingToEnter[] = "入力を行う文字がありません";
inline constexpr char kHalfWidthTooLong[] = "文字数が半角３２文字を越えています。修正して下さい";
inline constexpr char kReadingTooLong[] = "文字数が１６文字を越えています。修正して下さい";
inline constexpr char kBadCharacter[] = "不正な文字が含まれています。修正して下さい";
inline constexpr char kReadingWithoutName[] = "曲名が未入力で「よみ」が入力されています。修正して下さい";
inline constexpr char kOnlyReadingTyped[] = "「よみ」だけ入力されています。「曲名」も入力して下さい";

// Why a character cannot be entered: the line under a Start check's message,
// and the fields' tooltips while typing.
inline constexpr char kFaultNotInCodePage[] = "シフトJISで表せない文字です";
inline constexpr char kFaultNotEnterable[] = "ＲＺＴで入力できない文字です";
inline constexpr char kFaultReadingNotHiragana[] = "よみにはひらがなだけ入力できます";
// A track's fields, n from 1, as every message and list that names a field
// names them (the header fields by their places above).
inline std::string TrackNameField(int n) { return PlaceTrack(n) + "の曲名"; }
inline std::string TrackYomiField(int n) { return PlaceTrack(n) + "のよみ"; }
// A track's reading typed without its name, in a list of faults.
inline std::string ReadingWithoutNameLine(int n) { return TrackNameField(n) + ": 未入力で「よみ」だけ入力されています"; }
// Character n of a field, from 1.
inline std::string CharFaultLine(int n, const std::string& character, const std::string& reason) {
  return std::to_string(n) + "文字目「" + character + "」: " + reason;
}
// After the first fault's message: every other fault of the album, one line
// each, at most kOtherFaultsShown of them, then how many more there are.
inline constexpr char kOtherFaults[] = "このほかに修正が必要な箇所:";
inline constexpr int kOtherFaultsShown = 20;
inline std::string MoreFaults(std::size_t count) { return "ほかに " + std::to_string(count) + " 件…"; }
// The track list's number cell of a row whose texts Start would refuse.
inline std::string TrackNumber(int n, bool fault) { return std::to_string(n) + (fault ? " ×" : ""); }
// The track edit dialog's OK on texts the device cannot enter; lines: one per
// character. Yes keeps them as typed.
inline std::string KeepUnenterableQuestion(const std::string& lines) {
  return "ＲＺＴで入力できない文字があります:\n" + lines +
         "\nこのまま確定しますか？(処理開始の前に修正が必要です)";
}
// "12/32": what a field holds against its limit, in bytes or, for readings, characters.
inline std::string FieldCount(int count, int limit) { return std::to_string(count) + "/" + std::to_string(limit); }
inline std::string FieldTooLongLine(const std::string& field, int count, int limit, bool reading) {
  return field + ": " + FieldCount(count, limit) + (reading ? "文字" : "バイト");
}

// ---- Album files.

inline constexpr char kFileOpenFailed[] = "ファイルオープンに失敗しました";
inline constexpr char kFileWriteFailed[] = "ファイルの書き込みに失敗しました";
inline constexpr char kFileSaved[] = "ＳＡＶＥ終了";
// The reason after kFileOpenFailed when the file is protected against writing.
inline constexpr char kReadOnlyFile[] = "読み取り専用です";
// Another program holds the file open (Windows sharing), also after a second of retries.
inline constexpr char kFileInUse[] = "他のプログラムが使用中です";
// Reasons for the line after a file's message where the system has no words of its own.
inline constexpr char kNoFileName[] = "no file name";
inline constexpr char kNotRegularFile[] = "not a regular file";
inline constexpr char kNotUtf16Text[] = "not UTF-16 text";
inline std::string LargerThan(std::uint64_t bytes) { return "larger than " + std::to_string(bytes) + " bytes"; }
inline constexpr char kTooManyFields[] = "フォーマットエラー検出(項目数オーバーフロー)";
inline constexpr char kCommaRefused[] = "「,」(半角カンマ)はCSVファイルに保存できません。修正して下さい";
inline constexpr char kCharacterRefused[] = "CSVファイルに保存できない文字が含まれています。修正して下さい";
// Field n of the file, from 1.
inline std::string FieldTooLong(int n) {
  return "フォーマットエラー検出(文字数オーバー[" + std::to_string(n) + "項目目])";
}
inline std::string FieldNotText(int n) {
  return "フォーマットエラー検出(文字コード[" + std::to_string(n) + "項目目])";
}

// ---- CUE sheets.

inline constexpr char kCueNoTracks[] = "CUEシートにトラックがありません";
inline std::string CueTooManyTracks(int count) {
  return "トラック数が５０を越えています(" + std::to_string(count) + "トラック)。CUEシートを読み込めません";
}
// Line n of the sheet, from 1.
inline std::string CueLineNotText(int n) {
  return "フォーマットエラー検出(文字コード[" + std::to_string(n) + "行目])";
}

// ---- Readings for kanji: why this system offers none.

inline constexpr char kReadingsNoDictionary[] = "このシステムでは読みの候補を出せません(MeCabの辞書が見つかりません)";
inline constexpr char kReadingsDictionaryNotUtf8[] =
    "このシステムでは読みの候補を出せません(MeCabの辞書がUTF-8ではありません)";
inline constexpr char kReadingsBuiltWithoutMecab[] = "このシステムでは読みの候補を出せません(MeCabなしで作られています)";

// ---- Readings for kanji in the windows: the actions and what they answer.

inline constexpr char kSuggestReadingItem[] = "よみを推定";
inline constexpr char kToHiraganaItem[] = "かなに変換(ひらがな)";
inline constexpr char kToKatakanaItem[] = "かなに変換(カタカナ)";
inline constexpr char kFillReadingsItem[] = "よみを一括推定";
inline constexpr char kImportCueItem[] = "CUE読込";
inline constexpr char kOtherReadingItem[] = "その他…";
inline constexpr char kUnfitMarked[] = "【】の部分はこのままでは入力できません。修正して下さい";
inline constexpr char kNoNameToRead[] = "よみを推定する名前が入力されていません";
inline constexpr char kNoReadingOffered[] = "よみの候補がありません";
inline constexpr char kOfferedReadingTooLong[] = "よみの候補が１６文字を越えています";
inline constexpr char kLatinWordNotRead[] = "4文字以上の英単語のよみは推定しません";
inline constexpr char kNothingToRead[] = "よみになる文字がありません";
inline constexpr char kNothingToChange[] = "変更する項目はありません";
// The よみを一括推定 dialog.
inline constexpr char kChosenReadingEmpty[] = "よみが入力されていません";
// One row of the dialog: the reading field, the reading, and the name read.
inline std::string ReadingChoiceRow(const std::string& field, const std::string& reading, const std::string& name) {
  return field + ": " + reading + " (" + name + ")";
}
// A name left unread, and why.
inline std::string SkippedName(const std::string& field, const std::string& name, const std::string& why) {
  return field + "「" + name + "」: " + why;
}
// The store of learned readings; reason: why, in the system's words.
inline std::string LearnedReadingsNotRead(const std::string& path, const std::string& reason) {
  return "学習したよみを読み込めませんでした(" + path + ": " + reason + ")";
}
inline std::string LearnedReadingsNotSaved(const std::string& path, const std::string& reason) {
  return "学習したよみを保存できませんでした(" + path + ": " + reason + ")";
}

// ---- The settings file and the serial port.

inline std::string SettingsWriteFailed(const std::string& path) {
  return "設定ファイルの書き込みに失敗しました(" + path + ")";
}
// reason: why, in the system's words. The file is left as it is.
inline std::string SettingsNotRead(const std::string& path, const std::string& reason) {
  return "設定ファイルを読み込めなかったため、既定の設定を使います(" + path + ": " + reason + ")";
}
// tried: the port's number label or device name.
inline std::string PortOpenFailed(const std::string& tried) {
  return "通信ポートの初期化に失敗しました。環境を確認して再起動して下さい(" + tried +
         ")\n通信ポートを変更する場合はINIファイルを編集して下さい";
}
// number: the port number as configured; used: the port opened instead.
inline std::string PortNumberNamesNoPort(int number, const std::string& used) {
  return "通信ポート番号 " + std::to_string(number) + " はポート番号として使えないため、" + used + " を使います";
}
// Follows the port failure at start-up and after the 通信設定 dialog.
inline constexpr char kChoosePortQuestion[] = "通信設定で通信ポートを選びますか？";
// The last line of PortOpenFailed's message: why.
inline constexpr char kCause[] = "原因: ";
inline const std::string kNoPortAtAll = std::string("この名前の通信ポートはありません。") + kNoPortFound;
inline std::string PortNotFound(const std::string& present) {
  return "この名前の通信ポートはありません。" + PortsFound(present);
}
inline constexpr char kNoPermission[] = "この通信ポートを使う権限がありません。管理者に使用の許可を求めて下さい";
inline std::string NoPermissionJoinGroup(const std::string& group) {
  return "この通信ポートを使う権限がありません。ユーザーをグループ「" + group + "」に加えて(sudo usermod -aG " +
         group + " $USER)、ログインし直して下さい";
}
inline constexpr char kPortBusy[] = "他のプログラムがこの通信ポートを使用中です。そのプログラムを終了させて下さい";
inline constexpr char kNotSerial[] = "指定されたものはシリアル通信ポートではありません";
inline std::string SystemError(const std::string& text, int code) {
  return text + "(エラーコード " + std::to_string(code) + ")";
}

}  // namespace vrellix::messages
