<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>AppText</name>
    <message>
        <source>File not found</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>Automatic</translation>
    </message>
    <message>
        <source>%1 は大きすぎるため読み込みません (設定ファイルは 1 MiB まで)</source>
        <translation>%1 is too large to read (settings files are at most 1 MiB)</translation>
    </message>
    <message>
        <source>%1 の [%2] %3 は既定値 %4 で起動します。</source>
        <translation>%1: [%2] %3 starts with its default, %4.</translation>
    </message>
    <message>
        <source>次の関連づけ情報は不正なので，復元せずに残しました：
</source>
        <translation>These association entries are invalid and were left as they are:
</translation>
    </message>
    <message>
        <source>%1の関連づけを新規に設定しました</source>
        <translation>%1 is now associated with Tracely</translation>
    </message>
    <message>
        <source>%1の関連づけを変更しました</source>
        <translation>The association of %1 was changed</translation>
    </message>
    <message>
        <source>%1に「Tracelyで開く」を追加しました</source>
        <translation>&quot;Open with Tracely&quot; was added to %1</translation>
    </message>
    <message>
        <source>%1は関連づけ情報が存在しないので，「Tracelyで開く」を追加できません</source>
        <translation>%1 has no association, so &quot;Open with Tracely&quot; cannot be added</translation>
    </message>
    <message>
        <source>%1の関連づけを消去しました</source>
        <translation>The association of %1 was removed</translation>
    </message>
    <message>
        <source>%1の関連づけは見つかりませんでした</source>
        <translation>No association of %1 was found</translation>
    </message>
    <message>
        <source>%1の関連づけを復元しました</source>
        <translation>The association of %1 was restored</translation>
    </message>
    <message>
        <source>全ての関連づけ情報を復元します</source>
        <translation>Every saved association will be restored</translation>
    </message>
    <message>
        <source>全ての関連づけを復元しました</source>
        <translation>Every association was restored</translation>
    </message>
    <message>
        <source>関連づけを復元しました。
</source>
        <translation>The associations were restored.
</translation>
    </message>
    <message>
        <source>File name too long</source>
        <translation>File name too long</translation>
    </message>
    <message>
        <source>Not a regular file</source>
        <translation>Not a regular file</translation>
    </message>
    <message>
        <source>Cannot read the file</source>
        <translation>Cannot read the file</translation>
    </message>
    <message>
        <source>The file changed while it was read</source>
        <translation>The file changed while it was read</translation>
    </message>
    <message>
        <source>Allocation Failure!</source>
        <translation>Allocation Failure!</translation>
    </message>
    <message>
        <source>Not a local file</source>
        <translation>Not a local file</translation>
    </message>
    <message>
        <source>Cannot write the file</source>
        <translation>Cannot write the file</translation>
    </message>
    <message>
        <source>範囲チェックエラー</source>
        <translation>Range check error</translation>
    </message>
    <message>
        <source>GDWファイル(*.gdw)</source>
        <translation>GDW files(*.gdw)</translation>
    </message>
    <message>
        <source>データファイル(*.dat)</source>
        <translation>Data files(*.dat)</translation>
    </message>
    <message>
        <source>テキストファイル(*.txt)</source>
        <translation>Text files(*.txt)</translation>
    </message>
    <message>
        <source>全てのファイル(*.*)</source>
        <translation>All files(*.*)</translation>
    </message>
    <message>
        <source>&apos;&apos; の設定に失敗しました</source>
        <translation>Setting &apos;&apos; failed</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; is not a valid integer value</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は浮動小数点数ではありません</source>
        <translation>&apos;%1&apos; is not a valid floating point value</translation>
    </message>
    <message>
        <source>リストのインデックスが範囲を超えています (%1)</source>
        <translation>List index out of bounds (%1)</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>Cannot write %1</translation>
    </message>
    <message>
        <source>update-mime-database を実行できませんでした。ファイルマネージャーに反映されるまで時間がかかることがあります</source>
        <translation>update-mime-database could not be run; the file manager may take a while to show the change</translation>
    </message>
    <message>
        <source>%1 の既定のアプリケーションは %2 の設定が優先されます</source>
        <translation>The default application of %1 is overridden by the setting in %2</translation>
    </message>
    <message>
        <source>Follow mode is off: the folder is gone: %1</source>
        <translation>Follow mode is off: the folder is gone: %1</translation>
    </message>
    <message>
        <source>Follow mode is off: the folder cannot be read: %1</source>
        <translation>Follow mode is off: the folder cannot be read: %1</translation>
    </message>
</context>
<context>
    <name>FilterGrid</name>
    <message>
        <source>フィルタ</source>
        <translation>Filter</translation>
    </message>
    <message>
        <source>説明</source>
        <translation>Description</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Tracely ヘルプ</source>
        <translation>Tracely Help</translation>
    </message>
</context>
<context>
    <name>LargeView</name>
    <message>
        <source>No data</source>
        <translation>No data</translation>
    </message>
</context>
<context>
    <name>LargeViewWindow</name>
    <message>
        <source>PNG size</source>
        <translation>PNG size</translation>
    </message>
    <message>
        <source>Width (pixels)</source>
        <translation>Width (pixels)</translation>
    </message>
    <message>
        <source>Height (pixels)</source>
        <translation>Height (pixels)</translation>
    </message>
    <message>
        <source>Resolution (DPI)</source>
        <translation>Resolution (DPI)</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>trace</source>
        <translation>trace</translation>
    </message>
    <message>
        <source>points</source>
        <translation>points</translation>
    </message>
    <message>
        <source>min</source>
        <translation>min</translation>
    </message>
    <message>
        <source>max</source>
        <translation>max</translation>
    </message>
    <message>
        <source>mean</source>
        <translation>mean</translation>
    </message>
    <message>
        <source>RMS</source>
        <translation>RMS</translation>
    </message>
    <message>
        <source>std</source>
        <translation>std</translation>
    </message>
    <message>
        <source>peak-to-peak</source>
        <translation>peak-to-peak</translation>
    </message>
    <message>
        <source>X of min</source>
        <translation>X of min</translation>
    </message>
    <message>
        <source>X of max</source>
        <translation>X of max</translation>
    </message>
    <message>
        <source>Save as PNG...</source>
        <translation>Save as PNG...</translation>
    </message>
    <message>
        <source>Save as PNG at a size...</source>
        <translation>Save as PNG at a size...</translation>
    </message>
    <message>
        <source>Save as SVG...</source>
        <translation>Save as SVG...</translation>
    </message>
    <message>
        <source>Copy picture</source>
        <translation>Copy picture</translation>
    </message>
    <message>
        <source>Copy data</source>
        <translation>Copy data</translation>
    </message>
    <message>
        <source>Show legend</source>
        <translation>Show legend</translation>
    </message>
    <message>
        <source>Antialiasing</source>
        <translation>Antialiasing</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistics</translation>
    </message>
    <message>
        <source>Zoom back</source>
        <translation>Zoom back</translation>
    </message>
    <message>
        <source>Main window&apos;s limits</source>
        <translation>Main window&apos;s limits</translation>
    </message>
    <message>
        <source>Apply these limits to the main window</source>
        <translation>Apply these limits to the main window</translation>
    </message>
    <message>
        <source>Remove cursors</source>
        <translation>Remove cursors</translation>
    </message>
    <message>
        <source>Save as PNG</source>
        <translation>Save as PNG</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG pictures (*.png)</translation>
    </message>
    <message>
        <source>Cannot save: %1</source>
        <translation>Cannot save: %1</translation>
    </message>
    <message>
        <source>Save as SVG</source>
        <translation>Save as SVG</translation>
    </message>
    <message>
        <source>SVG pictures (*.svg)</source>
        <translation>SVG pictures (*.svg)</translation>
    </message>
    <message>
        <source>The data shown has %1 values, too many for the clipboard (at most %2). Show fewer files.</source>
        <translation>The data shown has %1 values, too many for the clipboard (at most %2). Show fewer files.</translation>
    </message>
    <message>
        <source>Between A and B: X %1 to %2</source>
        <translation>Between A and B: X %1 to %2</translation>
    </message>
    <message>
        <source>Visible range: X %1 to %2</source>
        <translation>Visible range: X %1 to %2</translation>
    </message>
    <message>
        <source>%1 — following</source>
        <translation>%1 — following</translation>
    </message>
</context>
<context>
    <name>TForm1</name>
    <message>
        <source>Next file</source>
        <translation>Next file</translation>
    </message>
    <message>
        <source>Previous file</source>
        <translation>Previous file</translation>
    </message>
    <message>
        <source>First file</source>
        <translation>First file</translation>
    </message>
    <message>
        <source>Last file</source>
        <translation>Last file</translation>
    </message>
    <message>
        <source>ReDraw</source>
        <translation>ReDraw</translation>
    </message>
    <message>
        <source>Open...</source>
        <translation>Open...</translation>
    </message>
    <message>
        <source>Copy plot</source>
        <translation>Copy plot</translation>
    </message>
    <message>
        <source>Copy read-outs and file names</source>
        <translation>Copy read-outs and file names</translation>
    </message>
    <message>
        <source>Save plot as PNG...</source>
        <translation>Save plot as PNG...</translation>
    </message>
    <message>
        <source>Large view</source>
        <translation>Large view</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Y1上限</source>
        <translation>Y1 upper limit</translation>
    </message>
    <message>
        <source>Y2上限</source>
        <translation>Y2 upper limit</translation>
    </message>
    <message>
        <source>Y3上限</source>
        <translation>Y3 upper limit</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Y1～Y3の縦軸を同調させます</source>
        <translation>One common range for Y1 to Y3</translation>
    </message>
    <message>
        <source>Y1:Auto</source>
        <translation>Y1:Auto</translation>
    </message>
    <message>
        <source>Y1軸自動設定</source>
        <translation>Y1 range from the data</translation>
    </message>
    <message>
        <source>Y2:Auto</source>
        <translation>Y2:Auto</translation>
    </message>
    <message>
        <source>Y2軸自動設定</source>
        <translation>Y2 range from the data</translation>
    </message>
    <message>
        <source>Y3:Auto</source>
        <translation>Y3:Auto</translation>
    </message>
    <message>
        <source>Y3軸自動設定</source>
        <translation>Y3 range from the data</translation>
    </message>
    <message>
        <source>Y1下限</source>
        <translation>Y1 lower limit</translation>
    </message>
    <message>
        <source>Y2下限</source>
        <translation>Y2 lower limit</translation>
    </message>
    <message>
        <source>Y3下限</source>
        <translation>Y3 lower limit</translation>
    </message>
    <message>
        <source>X下限</source>
        <translation>X lower limit</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>X軸自動設定</source>
        <translation>X range from the data</translation>
    </message>
    <message>
        <source>X上限</source>
        <translation>X upper limit</translation>
    </message>
    <message>
        <source>X軸のカラム番号</source>
        <translation>Column of X</translation>
    </message>
    <message>
        <source>Y1軸のカラム番号</source>
        <translation>Column of Y1</translation>
    </message>
    <message>
        <source>Y2軸のカラム番号</source>
        <translation>Column of Y2</translation>
    </message>
    <message>
        <source>Y3軸のカラム番号</source>
        <translation>Column of Y3</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Filename</translation>
    </message>
    <message>
        <source>ファイル名入力</source>
        <translation>File name (Enter opens it)</translation>
    </message>
    <message>
        <source>ファイル選択</source>
        <translation>Open files</translation>
    </message>
    <message>
        <source>iniファイルを保存</source>
        <translation>Save this directory&apos;s settings</translation>
    </message>
    <message>
        <source>オプション設定</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Traces</source>
        <translation>Traces</translation>
    </message>
    <message>
        <source>同時表示データファイル数</source>
        <translation>Number of files shown together</translation>
    </message>
    <message>
        <source>Column</source>
        <translation>Column</translation>
    </message>
    <message>
        <source>Y&apos;s</source>
        <translation>Y&apos;s</translation>
    </message>
    <message>
        <source>Y軸の数</source>
        <translation>Number of Y axes</translation>
    </message>
    <message>
        <source>Prev.</source>
        <translation>Prev.</translation>
    </message>
    <message>
        <source>前のファイル</source>
        <translation>Previous file</translation>
    </message>
    <message>
        <source>再描画</source>
        <translation>Reload and redraw</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>次のファイル</source>
        <translation>Next file</translation>
    </message>
    <message>
        <source>TopMost</source>
        <translation>TopMost</translation>
    </message>
    <message>
        <source>常に最上位</source>
        <translation>Always on top</translation>
    </message>
    <message>
        <source>DispName</source>
        <translation>DispName</translation>
    </message>
    <message>
        <source>ファイル名を表示</source>
        <translation>Show file names</translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>カーソル表示</source>
        <translation>Show the cursor</translation>
    </message>
    <message>
        <source>現在のカーソル位置</source>
        <translation>Value at the mouse</translation>
    </message>
    <message>
        <source>赤カーソルとの差</source>
        <translation>Difference to the red cursor</translation>
    </message>
    <message>
        <source>Absolute</source>
        <translation>Absolute</translation>
    </message>
    <message>
        <source>Save plot as PNG</source>
        <translation>Save plot as PNG</translation>
    </message>
    <message>
        <source>Reading %1</source>
        <translation>Reading %1</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Follow mode</source>
        <translation>Follow mode</translation>
    </message>
</context>
<context>
    <name>TForm2</name>
    <message>
        <source>■描画色の設定</source>
        <translation>■Colours</translation>
    </message>
    <message>
        <source>■オプション設定</source>
        <translation>■Options</translation>
    </message>
    <message>
        <source>Y軸設定自動変更</source>
        <translation>Auto column choice</translation>
    </message>
    <message>
        <source>複数起動しない</source>
        <translation>Single copy</translation>
    </message>
    <message>
        <source>Wheel感度:</source>
        <translation>Wheel:</translation>
    </message>
    <message>
        <source>counts/scroll</source>
        <translation>counts/scroll</translation>
    </message>
    <message>
        <source>■関連づけ変更</source>
        <translation>■File type</translation>
    </message>
    <message>
        <source>拡張子：</source>
        <translation>Ext.:</translation>
    </message>
    <message>
        <source>ダブルクリックで実行</source>
        <translation>Open on double-click</translation>
    </message>
    <message>
        <source>Tracelyで開く(&amp;Q)</source>
        <translation>Open &amp;with Tracely</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>Go!</source>
        <translation>Go!</translation>
    </message>
    <message>
        <source>関連づけを</source>
        <translation>All types</translation>
    </message>
    <message>
        <source>全てリセット</source>
        <translation>Reset all</translation>
    </message>
    <message>
        <source>■ファイル選択ダイアログのフィルタ</source>
        <translation>■Open dialog filters</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>オプション設定</source>
        <translation>Options</translation>
    </message>
</context>
</TS>
