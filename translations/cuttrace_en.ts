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
        <translation type="vanished">The program ended because of an error in a macro function</translation>
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
    <message>
        <source>切削シミュレーション</source>
        <translation>Cut simulation</translation>
    </message>
    <message>
        <source>自動、または X0,Y0,Z0,X1,Y1,Z1</source>
        <translation>auto, or X0,Y0,Z0,X1,Y1,Z1</translation>
    </message>
    <message>
        <source>長辺に沿って %1 セル</source>
        <translation>%1 cells along the longer side</translation>
    </message>
    <message>
        <source>なし: 工具径のフラットエンドミル</source>
        <translation>none: flat end mill of the cutter diameter</translation>
    </message>
    <message>
        <source>素材</source>
        <translation>Stock</translation>
    </message>
    <message>
        <source>分解能</source>
        <translation>Resolution</translation>
    </message>
    <message>
        <source>工具表</source>
        <translation>Tool table</translation>
    </message>
    <message>
        <source>素材: %1</source>
        <translation>Stock: %1</translation>
    </message>
    <message>
        <source>分解能: セル数を整数で (空か 0 で既定値)</source>
        <translation>Resolution: a whole number of cells (empty or 0 for the default)</translation>
    </message>
    <message>
        <source>工具表: %1</source>
        <translation>Tool table: %1</translation>
    </message>
    <message>
        <source>切削</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>削った素材を表示</source>
        <translation>Show the machined stock</translation>
    </message>
    <message>
        <source>切削の上に軌跡を表示</source>
        <translation>Tool path over the cut</translation>
    </message>
    <message>
        <source>工具ごとに色分け</source>
        <translation>Colour by tool</translation>
    </message>
    <message>
        <source>切削の指摘</source>
        <translation>Cut findings</translation>
    </message>
    <message>
        <source>早送りで素材を削っています</source>
        <translation>rapid move removes material</translation>
    </message>
    <message>
        <source>工具が素材の底より下です</source>
        <translation>tool below the stock bottom</translation>
    </message>
    <message>
        <source>(ほか %1 件は省略)</source>
        <translation>(%1 more not listed)</translation>
    </message>
    <message>
        <source>言語</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>システムに合わせる</source>
        <translation>As the system</translation>
    </message>
    <message>
        <source>(再起動後に有効)</source>
        <translation>(takes effect after a restart)</translation>
    </message>
    <message>
        <source>別のプログラムと比べる...</source>
        <translation>Compare with another program...</translation>
    </message>
    <message>
        <source>比較をやめる</source>
        <translation>End the comparison</translation>
    </message>
    <message>
        <source>比較</source>
        <translation>Comparison</translation>
    </message>
    <message>
        <source>最大の差 %1 (%2) X%3 Y%4、差のあるセル %5</source>
        <translation>Largest difference %1 (%2) at X%3 Y%4, %5 cells differ</translation>
    </message>
    <message>
        <source>先に切削表示のビューでプログラムを実行してください</source>
        <translation>Run a program with a view in cut mode first</translation>
    </message>
    <message>
        <source>比較できません: %1</source>
        <translation>Cannot compare: %1</translation>
    </message>
    <message>
        <source>%1 を切削して比較中...</source>
        <translation>Cutting %1 to compare...</translation>
    </message>
    <message>
        <source>比較中に切削表示が変わりました。もう一度比べてください</source>
        <translation>the cut shown changed during the comparison; compare again</translation>
    </message>
    <message>
        <source>シングルブロック: 軌画開始で次のブロックを実行</source>
        <translation>Single block: Start runs the next block</translation>
    </message>
    <message>
        <source>エラー</source>
        <translation>Error</translation>
    </message>
    <message>
        <source>保存する絵がありません: 動作がひとつも残っていません。</source>
        <translation>There is no picture to save: no motion has been kept.</translation>
    </message>
    <message>
        <source>保存する絵がありません: &quot;NonBufering&quot; が設定されているので実行の動作は残りません。
次の実行の動作を残して、その絵を保存できるようにしますか?</source>
        <translation>There is no picture to save: with &quot;NonBufering&quot; set the motions of a run are not kept.
Keep the motions of the next run so that its picture can be saved?</translation>
    </message>
    <message>
        <source>ファイルはありますが読めません (権限がない?)</source>
        <translation>The file exists but cannot be read (no permission?)</translation>
    </message>
    <message>
        <source>%1 ステップで止めました (ステップ上限)</source>
        <translation>stopped after %1 steps (step limit)</translation>
    </message>
    <message>
        <source>先頭からやり直す</source>
        <translation>Start again from the top</translation>
    </message>
    <message>
        <source>このブロックの次から続ける</source>
        <translation>Continue after this block</translation>
    </message>
    <message>
        <source>%1
(%2 として読みました。別の機種は設定で選べます)</source>
        <translation>%1
(read as %2; another dialect is chosen in the settings)</translation>
    </message>
    <message>
        <source>工具径補正した軌跡の横に描くプログラムどおりの輪郭</source>
        <translation>programmed contour drawn beside a cutter-compensated path</translation>
    </message>
    <message>
        <source>実行</source>
        <translation>Runs</translation>
    </message>
    <message>
        <source>ステップ上限</source>
        <translation>Step limit</translation>
    </message>
    <message>
        <source>実行はエンジンのこのステップ数で終わります</source>
        <translation>A run ends after this many steps of the engine</translation>
    </message>
    <message>
        <source>ステップ上限: 1 以上の整数を入れてください</source>
        <translation>Step limit: a whole number of 1 or more</translation>
    </message>
    <message>
        <source>軌跡のメモリ (MB)</source>
        <translation>Path memory (MB)</translation>
    </message>
    <message>
        <source>この大きさを超えても軌跡は描きますが、書き直しのためには残しません</source>
        <translation>Past this size the path is still drawn but no longer kept for redraws</translation>
    </message>
    <message>
        <source>0: メモリの 4 分の 1 (%1 MB)</source>
        <translation>0: a quarter of the memory (%1 MB)</translation>
    </message>
    <message>
        <source>軌跡のメモリ: メガバイトを整数で (空か 0 で既定値)</source>
        <translation>Path memory: a whole number of megabytes (empty or 0 for the default)</translation>
    </message>
    <message>
        <source>早送り速度</source>
        <translation>Rapid rate</translation>
    </message>
    <message>
        <source>時間の見積りに使う早送りの速さ (毎分)</source>
        <translation>Speed of rapid moves in time estimates, per minute</translation>
    </message>
    <message>
        <source>早送り速度: 1 以上の整数を入れてください</source>
        <translation>Rapid rate: a whole number of 1 or more</translation>
    </message>
    <message>
        <source>開くときに図を残す</source>
        <translation>Keep drawing when opening</translation>
    </message>
    <message>
        <source>シングルブロックで毎行止まる</source>
        <translation>Single block stops at every line</translation>
    </message>
    <message>
        <source>図を軌跡に合わせる</source>
        <translation>Fit the views to the path</translation>
    </message>
    <message>
        <source>呼び出すプログラム</source>
        <translation>Called programs</translation>
    </message>
    <message>
        <source>プログラムのフォルダ</source>
        <translation>Program folders</translation>
    </message>
    <message>
        <source>メインプログラムのフォルダの次に探す、1 行に 1 つ</source>
        <translation>searched after the main program&apos;s folder, one a line</translation>
    </message>
    <message>
        <source>変数ファイル</source>
        <translation>Variables file</translation>
    </message>
    <message>
        <source>なし: 1 行に #n=値、実行のたびに先に読み込む</source>
        <translation>none: #n=value a line, loaded before each run</translation>
    </message>
    <message>
        <source>変数ファイル: %1</source>
        <translation>Variables file: %1</translation>
    </message>
    <message>
        <source>呼び出しコード</source>
        <translation>Call codes</translation>
    </message>
    <message>
        <source>呼び出しコード: %1</source>
        <translation>Call codes: %1</translation>
    </message>
    <message>
        <source>システム</source>
        <translation>System</translation>
    </message>
    <message>
        <source>軌跡を図に合わせる (Home、中ボタンのダブルクリック)</source>
        <translation>Fit the path to the view (Home, middle double click)</translation>
    </message>
    <message>
        <source>X 軸まわりに回す</source>
        <translation>Turn about X</translation>
    </message>
    <message>
        <source>Y 軸まわりに回す</source>
        <translation>Turn about Y</translation>
    </message>
    <message>
        <source>Z 軸まわりに回す</source>
        <translation>Turn about Z</translation>
    </message>
    <message>
        <source>切削送り</source>
        <translation>Feed</translation>
    </message>
    <message>
        <source>早送り</source>
        <translation>Rapid</translation>
    </message>
    <message>
        <source>時間</source>
        <translation>Time</translation>
    </message>
    <message>
        <source>動作数</source>
        <translation>Motions</translation>
    </message>
    <message>
        <source>先読み中…</source>
        <translation>Looking ahead…</translation>
    </message>
    <message>
        <source>%1 で止まります: %2</source>
        <translation>Fails at %1: %2</translation>
    </message>
    <message>
        <source>動作 %1 / %2</source>
        <translation>motion %1 of %2</translation>
    </message>
    <message>
        <source>残り %1</source>
        <translation>%1 left</translation>
    </message>
    <message>
        <source>%1    (%2、%3 行目)</source>
        <translation>%1    (%2, line %3)</translation>
    </message>
    <message>
        <source>動作 %1</source>
        <translation>motion %1</translation>
    </message>
    <message>
        <source>%1 ピクセル以内に何も描かれていません</source>
        <translation>nothing drawn within %1 pixels</translation>
    </message>
    <message>
        <source>距離 %1    dX %2  dY %3  dZ %4</source>
        <translation>distance %1    dX %2  dY %3  dZ %4</translation>
    </message>
    <message>
        <source>プログラム全文</source>
        <translation>Program text</translation>
    </message>
    <message>
        <source>最近の行</source>
        <translation>Recent lines</translation>
    </message>
    <message>
        <source>この行まで実行</source>
        <translation>Run to this line</translation>
    </message>
    <message>
        <source>1ブロック戻る</source>
        <translation>Step back one block</translation>
    </message>
    <message>
        <source>エディタで開く</source>
        <translation>Open in the editor</translation>
    </message>
    <message>
        <source>ファイルがディスク上で変更されました</source>
        <translation>The file has changed on disk</translation>
    </message>
    <message>
        <source>再読み込み</source>
        <translation>Reload</translation>
    </message>
    <message>
        <source>外部出力ファイル</source>
        <translation>Print file</translation>
    </message>
    <message>
        <source>なし: BPRNT と DPRNT の出力はメッセージ欄だけに</source>
        <translation>none: BPRNT and DPRNT output shows in the messages only</translation>
    </message>
</context>
</TS>
