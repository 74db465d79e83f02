<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="ja">
<context>
    <name>cuttrace</name>
    <message>
        <source>ﾌｧｲﾙを開く</source>
        <translation>Open a program</translation>
    </message>
    <message>
        <source>軌画開始</source>
        <translation>Start drawing</translation>
    </message>
    <message>
        <source>中断</source>
        <translation>Stop</translation>
    </message>
    <message>
        <source>初期化</source>
        <translation>Reset</translation>
    </message>
    <message>
        <source>軌画だけ（チョー速攻)</source>
        <translation>Draw only (very fast)</translation>
    </message>
    <message>
        <source>すてっぷ</source>
        <translation>One block per start</translation>
    </message>
    <message>
        <source>ぜんぶはやおくり</source>
        <translation>Dry run: everything fast</translation>
    </message>
    <message>
        <source>変数の状態</source>
        <translation>Macro variables</translation>
    </message>
    <message>
        <source>展開ﾃﾞｰﾀ出力</source>
        <translation>Write the expanded program</translation>
    </message>
    <message>
        <source>絵を保存</source>
        <translation>Save the picture</translation>
    </message>
    <message>
        <source>絵を読み込み</source>
        <translation>Load a picture</translation>
    </message>
    <message>
        <source>せってい</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>バッファクリアー</source>
        <translation>Clear the buffer</translation>
    </message>
    <message>
        <source>いっこ</source>
        <translation>One view</translation>
    </message>
    <message>
        <source>いっぱい</source>
        <translation>More views</translation>
    </message>
    <message>
        <source>NCV (*.ncv);;すべてのﾌｧｲﾙ (*)</source>
        <translation>NCV (*.ncv);;All files (*)</translation>
    </message>
    <message>
        <source>すべてのﾌｧｲﾙ (*)</source>
        <translation>All files (*)</translation>
    </message>
    <message>
        <source>実行中</source>
        <translation>Running</translation>
    </message>
    <message>
        <source>速効中</source>
        <translation>Drawing fast</translation>
    </message>
    <message>
        <source>M1停止</source>
        <translation>M1 stop</translation>
    </message>
    <message>
        <source>M0停止</source>
        <translation>M0 stop</translation>
    </message>
    <message>
        <source>(最近のファイルはありません)</source>
        <translation>(no recent files)</translation>
    </message>
    <message>
        <source>エディタを起動できません: %1</source>
        <translation>The editor cannot be started: %1</translation>
    </message>
    <message>
        <source>失敗しました</source>
        <translation>Failed</translation>
    </message>
    <message>
        <source>形式の違うﾌｧｲﾙです</source>
        <translation>The file has another format</translation>
    </message>
    <message>
        <source>設定</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>ｷｬﾝｾﾙ</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>実行ファイル (*.exe);;blockpad.exe (blockpad.exe);;ぜんぶ (*)</source>
        <translation>Programs (*.exe);;blockpad.exe (blockpad.exe);;All files (*)</translation>
    </message>
    <message>
        <source>整数を入れてください (an integer is expected)</source>
        <translation>An integer is expected</translation>
    </message>
    <message>
        <source>0 以上の整数を入れてください (0 or more)</source>
        <translation>An integer of 0 or more is expected</translation>
    </message>
    <message>
        <source>書き直し</source>
        <translation>Redraw</translation>
    </message>
    <message>
        <source>初期状態</source>
        <translation>Reset the view</translation>
    </message>
    <message>
        <source>縮小</source>
        <translation>Zoom out</translation>
    </message>
    <message>
        <source>拡大</source>
        <translation>Zoom in</translation>
    </message>
    <message>
        <source>うえからみたとこ</source>
        <translation>Seen from above</translation>
    </message>
    <message>
        <source>よこからみたとこ</source>
        <translation>Seen from the side</translation>
    </message>
    <message>
        <source>まわってみたとこ</source>
        <translation>Seen turned</translation>
    </message>
    <message>
        <source>ななめうえからみたとこ</source>
        <translation>Seen from above at an angle</translation>
    </message>
    <message>
        <source>おかしいみえかたやなー</source>
        <translation>An odd angle</translation>
    </message>
    <message>
        <source>NCﾃﾞｰﾀﾌｧｲﾙﾄﾞﾛｳｿﾌﾄ</source>
        <translation>NC program drawing software</translation>
    </message>
    <message>
        <source>終わりだよー(Standart Fin)</source>
        <translation>Program finished (standard end)</translation>
    </message>
    <message>
        <source>このメッセージは出るはずない</source>
        <translation>The run ended in a way it never should</translation>
    </message>
    <message>
        <source>ファイルが見つかりません</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>失敗しましたmemory err!</source>
        <translation>Failed: the motion could not be computed</translation>
    </message>
    <message>
        <source>proguram nest over!</source>
        <translation>Program calls nested too deep</translation>
    </message>
    <message>
        <source>macro error!</source>
        <translation>Macro error</translation>
    </message>
    <message>
        <source>exit this proguram cuse err in macrofunction!</source>
        <translation>The program ended because of an error in a macro function</translation>
    </message>
    <message>
        <source>NC programs (*.nc *.ncd *.tap *.txt *.eia *.min *.prg O[0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]);;ncd (*.ncd);;すべてのﾌｧｲﾙ (*);;dat (*.dat)</source>
        <translation>NC programs (*.nc *.ncd *.tap *.txt *.eia *.min *.prg O[0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9][0-9] O[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]);;ncd (*.ncd);;All files (*);;dat (*.dat)</translation>
    </message>
    <message>
        <source>書き出し・印刷</source>
        <translation>Export and print</translation>
    </message>
    <message>
        <source>この図を書き出す...</source>
        <translation>Export this view...</translation>
    </message>
    <message>
        <source>見えている図をぜんぶ書き出す...</source>
        <translation>Export all visible views...</translation>
    </message>
    <message>
        <source>この図を印刷...</source>
        <translation>Print this view...</translation>
    </message>
    <message>
        <source>見えている図をぜんぶ印刷...</source>
        <translation>Print all visible views...</translation>
    </message>
    <message>
        <source>PNG 画像 (*.png);;SVG 図 (*.svg);;PDF 文書 (*.pdf)</source>
        <translation>PNG picture (*.png);;SVG drawing (*.svg);;PDF document (*.pdf)</translation>
    </message>
    <message>
        <source>書き出せませんでした: %1</source>
        <translation>Could not export: %1</translation>
    </message>
    <message>
        <source>プログラム</source>
        <translation>Program</translation>
    </message>
    <message>
        <source>日付</source>
        <translation>Date</translation>
    </message>
    <message>
        <source>機種</source>
        <translation>Dialect</translation>
    </message>
    <message>
        <source>範囲</source>
        <translation>Extent</translation>
    </message>
    <message>
        <source>倍率</source>
        <translation>Scale</translation>
    </message>
    <message>
        <source>加工時間</source>
        <translation>Machining time</translation>
    </message>
</context>
<context>
    <name>cuttrace::ui::CutSettingsBox</name>
    <message>
        <source>Cut simulation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>auto, or X0,Y0,Z0,X1,Y1,Z1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 cells along the longer side</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>none: flat end mill of the cutter diameter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool table</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Stock: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Resolution: a whole number of cells (empty or 0 for the default)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool table: %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>cuttrace::ui::CutView</name>
    <message>
        <source>Cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Show the machined stock</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tool path over the cut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Colour by tool</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>cuttrace::ui::FindingsPanel</name>
    <message>
        <source>Cut findings</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>rapid move removes material</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>tool below the stock bottom</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(%1 more not listed)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
