// Every text the viewer's windows show: captions, hints, status panels, messages.
//
// The texts are UTF-8; tests compare against these constants. The Japanese ones are marked
// for lupdate: the viewer shows them through Tr (Translation.h), in English outside Japan.
// Texts with a "%1" take one argument through QString::arg.
#pragma once

#include <QtGlobal>

namespace cuttrace::ui {

// ---- main window -------------------------------------------------------------------
inline constexpr char kMainCaption[] = "Nc";
inline constexpr char kMainCaptionWithPath[] = "Nc - %1 [%2]";  // path, dialect
inline constexpr char kInitialBlockText[] = "X0Y0Z0";

inline constexpr char kHintOpen[] = QT_TRANSLATE_NOOP("cuttrace", "ﾌｧｲﾙを開く");
inline constexpr char kHintStart[] = QT_TRANSLATE_NOOP("cuttrace", "軌画開始");
inline constexpr char kHintStop[] = QT_TRANSLATE_NOOP("cuttrace", "中断");
inline constexpr char kHintReset[] = QT_TRANSLATE_NOOP("cuttrace", "初期化");
inline constexpr char kHintQuickRun[] = QT_TRANSLATE_NOOP("cuttrace", "軌画だけ（チョー速攻)");
inline constexpr char kSingleBlock[] = "Single Block";
inline constexpr char kHintSingleBlock[] = QT_TRANSLATE_NOOP("cuttrace", "すてっぷ");
inline constexpr char kDryRun[] = "Dry Run";
inline constexpr char kHintDryRun[] = QT_TRANSLATE_NOOP("cuttrace", "ぜんぶはやおくり");
inline constexpr char kHintMacroVariables[] = QT_TRANSLATE_NOOP("cuttrace", "変数の状態");
inline constexpr char kHintWriteExpanded[] = QT_TRANSLATE_NOOP("cuttrace", "展開ﾃﾞｰﾀ出力");
inline constexpr char kHintSavePicture[] = QT_TRANSLATE_NOOP("cuttrace", "絵を保存");
inline constexpr char kHintLoadPicture[] = QT_TRANSLATE_NOOP("cuttrace", "絵を読み込み");
inline constexpr char kHintSettings[] = QT_TRANSLATE_NOOP("cuttrace", "せってい");
inline constexpr char kHintClear[] = QT_TRANSLATE_NOOP("cuttrace", "バッファクリアー");
inline constexpr char kHintSingleView[] = QT_TRANSLATE_NOOP("cuttrace", "いっこ");
inline constexpr char kHintCycleLayout[] = QT_TRANSLATE_NOOP("cuttrace", "いっぱい");
// A hint with its keyboard shortcut: "hint (Ctrl+O)".
inline constexpr char kHintWithShortcut[] = "%1 (%2)";

// File dialogs (Qt filter syntax).
// All NC programs first: the usual extensions and the O-number names without one.
inline constexpr char kProgramFilter[] = QT_TRANSLATE_NOOP(
    "cuttrace",
    "NC programs (*.nc *.ncd *.tap *.txt *.eia *.min *.prg O[0-9][0-9][0-9][0-9] "
    "O[0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9] "
    "O[0-9][0-9][0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]);;"
    "ncd (*.ncd);;すべてのﾌｧｲﾙ (*);;dat (*.dat)");
inline constexpr char kPictureFilter[] =
    QT_TRANSLATE_NOOP("cuttrace", "NCV (*.ncv);;すべてのﾌｧｲﾙ (*)");
inline constexpr char kPictureSuffix[] = "ncv";
inline constexpr char kExpandedFilter[] = QT_TRANSLATE_NOOP("cuttrace", "すべてのﾌｧｲﾙ (*)");

// Status bar panels.
inline constexpr char kStatusScale[] = "scall %1";  // view 0 scale, six decimals
inline constexpr char kStatusRotationStart[] = "XY";
inline constexpr char kStatusRotation[] = "X%1Y%2Z%3";  // view 0 angles, no decimals
inline constexpr char kStatusLine[] = "line %1";
inline constexpr char kStatusBuffer[] = "buf %1";
inline constexpr char kStatusRunning[] = QT_TRANSLATE_NOOP("cuttrace", "実行中");
inline constexpr char kStatusQuick[] = QT_TRANSLATE_NOOP("cuttrace", "速効中");
inline constexpr char kStatusM1Stop[] = QT_TRANSLATE_NOOP("cuttrace", "M1停止");
inline constexpr char kStatusM0Stop[] = QT_TRANSLATE_NOOP("cuttrace", "M0停止");
inline constexpr char kStatusSingleBlock[] =
    QT_TRANSLATE_NOOP("cuttrace", "シングルブロック: 軌画開始で次のブロックを実行");

// Log lines of the run control (the memo shows them).
inline constexpr char kLogStop[] = "Stop!";
inline constexpr char kLogReset[] = "Reset!";
inline constexpr char kLogM1Stop[] = QT_TRANSLATE_NOOP("cuttrace", "M1停止");
inline constexpr char kLogM0Stop[] = QT_TRANSLATE_NOOP("cuttrace", "M0停止");
inline constexpr char kLogEditorFailed[] = "Can't start: ";
inline constexpr char kNoRecentFiles[] =
    QT_TRANSLATE_NOOP("cuttrace", "(最近のファイルはありません)");
inline constexpr char kEditorCannotStart[] =
    QT_TRANSLATE_NOOP("cuttrace", "エディタを起動できません: %1");
inline constexpr char kLogPictureLoaded[] = "Picture records: ";

// Message boxes.
inline constexpr char kCaptionError[] = "error";
inline constexpr char kCaptionErrorDialog[] = QT_TRANSLATE_NOOP("cuttrace", "エラー");
inline constexpr char kCaptionEndMessage[] = "End Message";
inline constexpr char kNothingToSave[] =
    QT_TRANSLATE_NOOP("cuttrace", "保存する絵がありません: 動作がひとつも残っていません。");
inline constexpr char kKeepMotions[] = QT_TRANSLATE_NOOP(
    "cuttrace",
    "保存する絵がありません: \"NonBufering\" が設定されているので実行の動作は残りません。\n"
    "次の実行の動作を残して、その絵を保存できるようにしますか?");
inline constexpr char kCaptionSavePicture[] = QT_TRANSLATE_NOOP("cuttrace", "絵を保存");
inline constexpr char kLogSettingRefused[] = "Setting refused, its default is used: ";
inline constexpr char kFileNotFound[] = "Can not Fined the file!";
inline constexpr char kFileNamed[] = "%1\n%2";  // a message, then the file it is about
inline constexpr char kFileUnreadable[] =
    QT_TRANSLATE_NOOP("cuttrace", "ファイルはありますが読めません (権限がない?)");
inline constexpr char kFailed[] = QT_TRANSLATE_NOOP("cuttrace", "失敗しました");
inline constexpr char kWrongFormat[] = QT_TRANSLATE_NOOP("cuttrace", "形式の違うﾌｧｲﾙです");
inline constexpr char kStepLimitReached[] =
    QT_TRANSLATE_NOOP("cuttrace", "%1 ステップで止めました (ステップ上限)");
inline constexpr char kPathNotStored[] =
    "The stored path has reached %1 MB: drawing goes on, but redraws will be incomplete "
    "(path memory in the settings)";
// The choice after a run ended with an error: what the next Start does.
inline constexpr char kChoiceStartAgain[] = QT_TRANSLATE_NOOP("cuttrace", "先頭からやり直す");
inline constexpr char kChoiceContinue[] =
    QT_TRANSLATE_NOOP("cuttrace", "このブロックの次から続ける");
inline constexpr char kNotAnInteger[] = "'%1' is not a valid integer value.";

// The end-of-run messages are the core's (core/RunMessages.h, EndRunMessage).

// ---- settings dialog ---------------------------------------------------------------
inline constexpr char kSettingsCaption[] = QT_TRANSLATE_NOOP("cuttrace", "設定");
inline constexpr char kNcFormat[] = "Nc format";
inline constexpr char kDialectMeldas[] = "meldas";
inline constexpr char kDialectFanuc[] = "fanac";
inline constexpr char kDialectTosnac[] = "tosnac";
// The dialects as the title, the status bar and the messages name them (any other
// setting selects FANUC).
inline constexpr const char* kDialectNames[3] = {"MELDAS", "FANUC", "TOSNAC"};
inline constexpr char kDialectUsed[] =
    QT_TRANSLATE_NOOP("cuttrace", "%1\n(%2 として読みました。別の機種は設定で選べます)");
inline const char* DialectName(int dialect) {
    return dialect >= 0 && dialect < 3 ? kDialectNames[dialect] : kDialectNames[1];
}
inline constexpr char kColorGroup[] = "Color";
inline constexpr char kLabelFeed[] = "feed";
inline constexpr char kLabelRapid[] = "rapid";
inline constexpr char kLabelContour[] = "contour";
inline constexpr char kContourColorTip[] =
    QT_TRANSLATE_NOOP("cuttrace", "工具径補正した軌跡の横に描くプログラムどおりの輪郭");
inline constexpr char kNonBuffering[] = "NonBufering";
inline constexpr char kG0Draw[] = "G0 Draw";
inline constexpr char kM1Stop[] = "M1 Stop";
inline constexpr char kBlockSkip[] = "Block Skip";
inline constexpr char kViewCutter[] = "ViewCuter";
inline constexpr char kLabelDryRunSpeed[] = "dryrunspeed";
inline constexpr char kLabelTimer[] = "timer";
inline constexpr char kLabelEditor[] = "editer";
inline constexpr char kOk[] = "OK";
inline constexpr char kCancel[] = QT_TRANSLATE_NOOP("cuttrace", "ｷｬﾝｾﾙ");
inline constexpr char kEditorFilter[] =
    QT_TRANSLATE_NOOP("cuttrace", "実行ファイル (*.exe);;blockpad.exe (blockpad.exe);;ぜんぶ (*)");
inline constexpr char kEditorFilterSelected[] = "blockpad.exe (blockpad.exe)";
inline constexpr char kEditorDefaultName[] = "blockpad.exe";
inline constexpr char kIntegerExpected[] =
    QT_TRANSLATE_NOOP("cuttrace", "整数を入れてください (an integer is expected)");
inline constexpr char kTimerNotNegative[] =
    QT_TRANSLATE_NOOP("cuttrace", "0 以上の整数を入れてください (0 or more)");

// The settings of runs and of called programs.
inline constexpr char kRunsGroup[] = QT_TRANSLATE_NOOP("cuttrace", "実行");
inline constexpr char kStepLimit[] = QT_TRANSLATE_NOOP("cuttrace", "ステップ上限");
inline constexpr char kStepLimitTip[] =
    QT_TRANSLATE_NOOP("cuttrace", "実行はエンジンのこのステップ数で終わります");
inline constexpr char kStepLimitBad[] =
    QT_TRANSLATE_NOOP("cuttrace", "ステップ上限: 1 以上の整数を入れてください");
inline constexpr char kPathMemory[] = QT_TRANSLATE_NOOP("cuttrace", "軌跡のメモリ (MB)");
inline constexpr char kPathMemoryTip[] = QT_TRANSLATE_NOOP(
    "cuttrace", "この大きさを超えても軌跡は描きますが、書き直しのためには残しません");
inline constexpr char kPathMemoryDefault[] =
    QT_TRANSLATE_NOOP("cuttrace", "0: メモリの 4 分の 1 (%1 MB)");
inline constexpr char kPathMemoryBad[] =
    QT_TRANSLATE_NOOP("cuttrace", "軌跡のメモリ: メガバイトを整数で (空か 0 で既定値)");
inline constexpr char kRapidRate[] = QT_TRANSLATE_NOOP("cuttrace", "早送り速度");
inline constexpr char kRapidRateTip[] =
    QT_TRANSLATE_NOOP("cuttrace", "時間の見積りに使う早送りの速さ (毎分)");
inline constexpr char kRapidRateBad[] =
    QT_TRANSLATE_NOOP("cuttrace", "早送り速度: 1 以上の整数を入れてください");
inline constexpr char kKeepDrawing[] = QT_TRANSLATE_NOOP("cuttrace", "開くときに図を残す");
inline constexpr char kStepEveryLine[] =
    QT_TRANSLATE_NOOP("cuttrace", "シングルブロックで毎行止まる");
inline constexpr char kAutoFit[] = QT_TRANSLATE_NOOP("cuttrace", "図を軌跡に合わせる");
inline constexpr char kCalledPrograms[] = QT_TRANSLATE_NOOP("cuttrace", "呼び出すプログラム");
inline constexpr char kProgramFolders[] = QT_TRANSLATE_NOOP("cuttrace", "プログラムのフォルダ");
inline constexpr char kProgramFoldersHint[] =
    QT_TRANSLATE_NOOP("cuttrace", "メインプログラムのフォルダの次に探す、1 行に 1 つ");
inline constexpr char kVariablesFile[] = QT_TRANSLATE_NOOP("cuttrace", "変数ファイル");
inline constexpr char kVariablesFileHint[] =
    QT_TRANSLATE_NOOP("cuttrace", "なし: 1 行に #n=値、実行のたびに先に読み込む");
inline constexpr char kVariablesFileBad[] = QT_TRANSLATE_NOOP("cuttrace", "変数ファイル: %1");
inline constexpr char kCallCodes[] = QT_TRANSLATE_NOOP("cuttrace", "呼び出しコード");
inline constexpr char kCallCodesBad[] = QT_TRANSLATE_NOOP("cuttrace", "呼び出しコード: %1");
inline constexpr char kPrintFile[] = QT_TRANSLATE_NOOP("cuttrace", "外部出力ファイル");
inline constexpr char kPrintFileHint[] =
    QT_TRANSLATE_NOOP("cuttrace", "なし: BPRNT と DPRNT の出力はメッセージ欄だけに");
// The table's own syntax, the same in every language.
inline constexpr char kCallCodesHint[] = "G100=9010 macro\nM6=9001 subprogram\nT=9000";

// ---- macro variable window ---------------------------------------------------------
inline constexpr char kMacroCaption[] = "Macro ";
inline constexpr char kMacroFont[] = "ＭＳ Ｐゴシック";  // a font family, not shown
inline constexpr char kLocalTab[] = "Local %1";          // 1..4
inline constexpr char kCommonTab[] = "#%1-";             // 100, 150, 200, 250
inline constexpr char kKeptTab[] = "#500-#999";
inline constexpr char kSystemTab[] = QT_TRANSLATE_NOOP("cuttrace", "システム");
inline constexpr char kCommonEntry[] = "#%1 %2";  // number, value with six decimals
inline constexpr const char* kLocalNames[33] = {
    "#1A",  "#2B",  "#3C",  "#4I",  "#5J",  "#6K",  "#7D",  "#8E",  "#9F",  "#10G", "#11H",
    "#12L", "#13M", "#14N", "#15O", "#16P", "#17Q", "#18R", "#19S", "#20T", "#21U", "#22V",
    "#23W", "#24X", "#25Y", "#26Z", "#27",  "#28",  "#29",  "#30",  "#31",  "#32",  "#33"};

// ---- view frame --------------------------------------------------------------------
inline constexpr char kHintRedraw[] = QT_TRANSLATE_NOOP("cuttrace", "書き直し");
inline constexpr char kHintResetView[] = QT_TRANSLATE_NOOP("cuttrace", "初期状態");
inline constexpr char kHintZoomOut[] = QT_TRANSLATE_NOOP("cuttrace", "縮小");
inline constexpr char kHintZoomIn[] = QT_TRANSLATE_NOOP("cuttrace", "拡大");
inline constexpr char kHintViewTop[] =
    QT_TRANSLATE_NOOP("cuttrace", "うえからみたとこ");  // preset 0
inline constexpr char kHintViewSide[] =
    QT_TRANSLATE_NOOP("cuttrace", "よこからみたとこ");  // preset 1
inline constexpr char kHintViewTurned[] =
    QT_TRANSLATE_NOOP("cuttrace", "まわってみたとこ");  // preset 2
inline constexpr char kHintViewOblique[] =
    QT_TRANSLATE_NOOP("cuttrace", "ななめうえからみたとこ");  // preset 3
inline constexpr char kHintViewOdd[] =
    QT_TRANSLATE_NOOP("cuttrace", "おかしいみえかたやなー");  // preset 4
inline constexpr char kHintFit[] =
    QT_TRANSLATE_NOOP("cuttrace", "軌跡を図に合わせる (Home、中ボタンのダブルクリック)");
inline constexpr char kHintScale[] = QT_TRANSLATE_NOOP("cuttrace", "倍率");
inline constexpr char kHintTurnX[] = QT_TRANSLATE_NOOP("cuttrace", "X 軸まわりに回す");
inline constexpr char kHintTurnY[] = QT_TRANSLATE_NOOP("cuttrace", "Y 軸まわりに回す");
inline constexpr char kHintTurnZ[] = QT_TRANSLATE_NOOP("cuttrace", "Z 軸まわりに回す");

// ---- program summary (the look-ahead pass) and the run's progress -----------------
inline constexpr char kSummaryGroup[] = QT_TRANSLATE_NOOP("cuttrace", "プログラム");
inline constexpr char kSummaryFeed[] = QT_TRANSLATE_NOOP("cuttrace", "切削送り");
inline constexpr char kSummaryRapid[] = QT_TRANSLATE_NOOP("cuttrace", "早送り");
inline constexpr char kSummaryTime[] = QT_TRANSLATE_NOOP("cuttrace", "時間");
inline constexpr char kSummaryMotions[] = QT_TRANSLATE_NOOP("cuttrace", "動作数");
inline constexpr char kSummaryLooking[] = QT_TRANSLATE_NOOP("cuttrace", "先読み中…");
inline constexpr char kSummaryFails[] = QT_TRANSLATE_NOOP("cuttrace", "%1 で止まります: %2");
inline constexpr char kProgressMotion[] = QT_TRANSLATE_NOOP("cuttrace", "動作 %1 / %2");
inline constexpr char kProgressLeft[] = QT_TRANSLATE_NOOP("cuttrace", "残り %1");

// ---- modal state panel -------------------------------------------------------------
inline constexpr char kGroupNow[] = "Now";
inline constexpr char kGroupNext[] = "Next";
inline constexpr char kAxisX[] = "x";
inline constexpr char kAxisY[] = "y";
inline constexpr char kAxisZ[] = "z";
inline constexpr char kPositionZero[] = "0.000";
inline constexpr char kTotalTime[] = "TotalTime";
inline constexpr char kTotalTimeZero[] = "0:0.000";
inline constexpr char kTreeEditor[] = "Quillo";

// ---- start-up window ---------------------------------------------------------------
inline constexpr char kOpenCaption[] = "NC";
inline constexpr char kProductName[] = "Cuttrace";
inline constexpr char kVersion[] = "version2.5";
inline constexpr char kViewerUsage[] =
    "usage: cuttrace [PROGRAM [OPTIONS...]] [--layout N] [--grab FILE]\n"
    "\n"
    "Shows and simulates the NC program PROGRAM. Options after the program:\n"
    "  <number>   start at this byte offset\n"
    "  D          dry run\n"
    "  L<n>       start at line n\n"
    "  N<n>       start at sequence number n\n"
    "  S          start a run\n"
    "  Q          start a quick run\n"
    "Options of the viewer:\n"
    "  --layout N  start with view layout N (0 one view, 1 and 2 two views, 3 four views)\n"
    "  --grab FILE save a picture of the window to FILE when the run ends, and quit\n"
    "  --help      show this text\n"
    "  --version   show the version\n";
inline constexpr char kComments[] = QT_TRANSLATE_NOOP("cuttrace", "NCﾃﾞｰﾀﾌｧｲﾙﾄﾞﾛｳｿﾌﾄ");

// ---- export and print (each view's export button, and the window's shortcuts) ---------
inline constexpr char kHintExport[] = QT_TRANSLATE_NOOP("cuttrace", "書き出し・印刷");
inline constexpr char kExportThisView[] = QT_TRANSLATE_NOOP("cuttrace", "この図を書き出す...");
inline constexpr char kExportAllViews[] =
    QT_TRANSLATE_NOOP("cuttrace", "見えている図をぜんぶ書き出す...");
inline constexpr char kPrintThisView[] = QT_TRANSLATE_NOOP("cuttrace", "この図を印刷...");
inline constexpr char kPrintAllViews[] =
    QT_TRANSLATE_NOOP("cuttrace", "見えている図をぜんぶ印刷...");
inline constexpr char kExportFilter[] =
    QT_TRANSLATE_NOOP("cuttrace", "PNG 画像 (*.png);;SVG 図 (*.svg);;PDF 文書 (*.pdf)");
inline constexpr char kExportSuffix[] = "png";
inline constexpr char kExportFailed[] = QT_TRANSLATE_NOOP("cuttrace", "書き出せませんでした: %1");
// The title block under the exported views.
inline constexpr char kTitleProgram[] = QT_TRANSLATE_NOOP("cuttrace", "プログラム");
inline constexpr char kTitleDate[] = QT_TRANSLATE_NOOP("cuttrace", "日付");
inline constexpr char kTitleDialect[] = QT_TRANSLATE_NOOP("cuttrace", "機種");
inline constexpr char kTitleExtent[] = QT_TRANSLATE_NOOP("cuttrace", "範囲");
inline constexpr char kTitleScale[] = QT_TRANSLATE_NOOP("cuttrace", "倍率");
inline constexpr char kTitleTime[] = QT_TRANSLATE_NOOP("cuttrace", "加工時間");
inline constexpr char kTitleNone[] = "-";
inline constexpr char kTitleScaleValue[] = "%1 px/unit";

// ---- cut simulation (view mode, findings panel, settings) ------------------------
inline constexpr char kCutSimulation[] = QT_TRANSLATE_NOOP("cuttrace", "切削シミュレーション");
inline constexpr char kCutStockHint[] =
    QT_TRANSLATE_NOOP("cuttrace", "自動、または X0,Y0,Z0,X1,Y1,Z1");
inline constexpr char kCutResolutionHint[] = QT_TRANSLATE_NOOP("cuttrace", "長辺に沿って %1 セル");
inline constexpr char kCutToolsHint[] =
    QT_TRANSLATE_NOOP("cuttrace", "なし: 工具径のフラットエンドミル");
inline constexpr char kCutStock[] = QT_TRANSLATE_NOOP("cuttrace", "素材");
inline constexpr char kCutResolution[] = QT_TRANSLATE_NOOP("cuttrace", "分解能");
inline constexpr char kCutTools[] = QT_TRANSLATE_NOOP("cuttrace", "工具表");
inline constexpr char kCutStockBad[] = QT_TRANSLATE_NOOP("cuttrace", "素材: %1");
inline constexpr char kCutResolutionBad[] =
    QT_TRANSLATE_NOOP("cuttrace", "分解能: セル数を整数で (空か 0 で既定値)");
inline constexpr char kCutToolsBad[] = QT_TRANSLATE_NOOP("cuttrace", "工具表: %1");
inline constexpr char kCutMode[] = QT_TRANSLATE_NOOP("cuttrace", "切削");
inline constexpr char kHintCutMode[] = QT_TRANSLATE_NOOP("cuttrace", "削った素材を表示");
inline constexpr char kCutPathOver[] = QT_TRANSLATE_NOOP("cuttrace", "切削の上に軌跡を表示");
inline constexpr char kCutColourByTool[] = QT_TRANSLATE_NOOP("cuttrace", "工具ごとに色分け");
inline constexpr char kCutFindings[] = QT_TRANSLATE_NOOP("cuttrace", "切削の指摘");
inline constexpr char kFindingRapid[] = QT_TRANSLATE_NOOP("cuttrace", "早送りで素材を削っています");
inline constexpr char kFindingBelow[] = QT_TRANSLATE_NOOP("cuttrace", "工具が素材の底より下です");
inline constexpr char kFindingsMore[] = QT_TRANSLATE_NOOP("cuttrace", "(ほか %1 件は省略)");
inline constexpr char kCompareWith[] = QT_TRANSLATE_NOOP("cuttrace", "別のプログラムと比べる...");
inline constexpr char kCompareEnd[] = QT_TRANSLATE_NOOP("cuttrace", "比較をやめる");
inline constexpr char kCompareCaption[] = QT_TRANSLATE_NOOP("cuttrace", "比較");
// largest difference, the second program, X and Y of the place, cells that differ
inline constexpr char kCompareSummary[] =
    QT_TRANSLATE_NOOP("cuttrace", "最大の差 %1 (%2) X%3 Y%4、差のあるセル %5");
inline constexpr char kCompareNoCut[] =
    QT_TRANSLATE_NOOP("cuttrace", "先に切削表示のビューでプログラムを実行してください");
inline constexpr char kCompareFailed[] = QT_TRANSLATE_NOOP("cuttrace", "比較できません: %1");
// the second program's file name
inline constexpr char kCompareRunning[] = QT_TRANSLATE_NOOP("cuttrace", "%1 を切削して比較中...");
inline constexpr char kCompareStale[] =
    QT_TRANSLATE_NOOP("cuttrace", "比較中に切削表示が変わりました。もう一度比べてください");

// ---- language (settings dialog; applied at the next start) -------------------------
inline constexpr char kLanguage[] = QT_TRANSLATE_NOOP("cuttrace", "言語");
inline constexpr char kLanguageSystem[] = QT_TRANSLATE_NOOP("cuttrace", "システムに合わせる");
inline constexpr char kLanguageJapanese[] = "日本語";  // each language by its own name
inline constexpr char kLanguageEnglish[] = "English";
inline constexpr char kLanguageRestart[] = QT_TRANSLATE_NOOP("cuttrace", "(再起動後に有効)");

// ---- the program pane ---------------------------------------------------------------
inline constexpr char kPaneTitle[] = QT_TRANSLATE_NOOP("cuttrace", "プログラム全文");
inline constexpr char kPaneRecentLines[] = QT_TRANSLATE_NOOP("cuttrace", "最近の行");
inline constexpr char kPaneRunToLine[] = QT_TRANSLATE_NOOP("cuttrace", "この行まで実行");
inline constexpr char kPaneStepBack[] = QT_TRANSLATE_NOOP("cuttrace", "1ブロック戻る");
inline constexpr char kPaneOpenEditor[] = QT_TRANSLATE_NOOP("cuttrace", "エディタで開く");
inline constexpr char kPaneChanged[] =
    QT_TRANSLATE_NOOP("cuttrace", "ファイルがディスク上で変更されました");
inline constexpr char kPaneReload[] = QT_TRANSLATE_NOOP("cuttrace", "再読み込み");

// ---- picking on the drawing (status bar) ------------------------------------------
inline constexpr char kPickBlock[] = QT_TRANSLATE_NOOP("cuttrace", "%1    (%2、%3 行目)");
inline constexpr char kPickMotion[] = QT_TRANSLATE_NOOP("cuttrace", "動作 %1");
inline constexpr char kPickNothing[] =
    QT_TRANSLATE_NOOP("cuttrace", "%1 ピクセル以内に何も描かれていません");
inline constexpr char kPickMeasure[] =
    QT_TRANSLATE_NOOP("cuttrace", "距離 %1    dX %2  dY %3  dZ %4");

}  // namespace cuttrace::ui
