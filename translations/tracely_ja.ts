<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>AppText</name>
    <message>
        <source>File not found</source>
        <translation>File not found</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>言語 (Language)</translation>
    </message>
    <message>
        <source>Automatic</source>
        <translation>自動</translation>
    </message>
    <message>
        <source>%1 は大きすぎるため読み込みません (設定ファイルは 1 MiB まで)</source>
        <translation>%1 は大きすぎるため読み込みません (設定ファイルは 1 MiB まで)</translation>
    </message>
    <message>
        <source>%1 の [%2] %3 は既定値 %4 で起動します。</source>
        <translation>%1 の [%2] %3 は既定値 %4 で起動します。</translation>
    </message>
    <message>
        <source>次の関連づけ情報は不正なので，復元せずに残しました：
</source>
        <translation>次の関連づけ情報は不正なので，復元せずに残しました：
</translation>
    </message>
    <message>
        <source>%1の関連づけを新規に設定しました</source>
        <translation>%1の関連づけを新規に設定しました</translation>
    </message>
    <message>
        <source>%1の関連づけを変更しました</source>
        <translation>%1の関連づけを変更しました</translation>
    </message>
    <message>
        <source>%1に「Tracelyで開く」を追加しました</source>
        <translation>%1に「Tracelyで開く」を追加しました</translation>
    </message>
    <message>
        <source>%1は関連づけ情報が存在しないので，「Tracelyで開く」を追加できません</source>
        <translation>%1は関連づけ情報が存在しないので，「Tracelyで開く」を追加できません</translation>
    </message>
    <message>
        <source>%1の関連づけを消去しました</source>
        <translation>%1の関連づけを消去しました</translation>
    </message>
    <message>
        <source>%1の関連づけは見つかりませんでした</source>
        <translation>%1の関連づけは見つかりませんでした</translation>
    </message>
    <message>
        <source>%1の関連づけを復元しました</source>
        <translation>%1の関連づけを復元しました</translation>
    </message>
    <message>
        <source>全ての関連づけ情報を復元します</source>
        <translation>全ての関連づけ情報を復元します</translation>
    </message>
    <message>
        <source>全ての関連づけを復元しました</source>
        <translation>全ての関連づけを復元しました</translation>
    </message>
    <message>
        <source>関連づけを復元しました。
</source>
        <translation>関連づけを復元しました。
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
        <translation>範囲チェックエラー</translation>
    </message>
    <message>
        <source>GDWファイル(*.gdw)</source>
        <translation>GDWファイル(*.gdw)</translation>
    </message>
    <message>
        <source>データファイル(*.dat)</source>
        <translation>データファイル(*.dat)</translation>
    </message>
    <message>
        <source>テキストファイル(*.txt)</source>
        <translation>テキストファイル(*.txt)</translation>
    </message>
    <message>
        <source>全てのファイル(*.*)</source>
        <translation>全てのファイル(*.*)</translation>
    </message>
    <message>
        <source>&apos;&apos; の設定に失敗しました</source>
        <translation>&apos;&apos; の設定に失敗しました</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は整数ではありません</source>
        <translation>&apos;%1&apos; は整数ではありません</translation>
    </message>
    <message>
        <source>&apos;%1&apos; は浮動小数点数ではありません</source>
        <translation>&apos;%1&apos; は浮動小数点数ではありません</translation>
    </message>
    <message>
        <source>リストのインデックスが範囲を超えています (%1)</source>
        <translation>リストのインデックスが範囲を超えています (%1)</translation>
    </message>
    <message>
        <source>%1 に書き込めません</source>
        <translation>%1 に書き込めません</translation>
    </message>
    <message>
        <source>update-mime-database を実行できませんでした。ファイルマネージャーに反映されるまで時間がかかることがあります</source>
        <translation>update-mime-database を実行できませんでした。ファイルマネージャーに反映されるまで時間がかかることがあります</translation>
    </message>
    <message>
        <source>%1 の既定のアプリケーションは %2 の設定が優先されます</source>
        <translation>%1 の既定のアプリケーションは %2 の設定が優先されます</translation>
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
        <translation>フィルタ</translation>
    </message>
    <message>
        <source>説明</source>
        <translation>説明</translation>
    </message>
</context>
<context>
    <name>HelpViewer</name>
    <message>
        <source>Tracely ヘルプ</source>
        <translation>Tracely ヘルプ</translation>
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
        <translation>PNGのサイズ</translation>
    </message>
    <message>
        <source>Width (pixels)</source>
        <translation>幅 (ピクセル)</translation>
    </message>
    <message>
        <source>Height (pixels)</source>
        <translation>高さ (ピクセル)</translation>
    </message>
    <message>
        <source>Resolution (DPI)</source>
        <translation>解像度 (DPI)</translation>
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
        <translation>PNGで保存...</translation>
    </message>
    <message>
        <source>Save as PNG at a size...</source>
        <translation>サイズを指定してPNGで保存...</translation>
    </message>
    <message>
        <source>Save as SVG...</source>
        <translation>SVGで保存...</translation>
    </message>
    <message>
        <source>Copy picture</source>
        <translation>画像をコピー</translation>
    </message>
    <message>
        <source>Copy data</source>
        <translation>データをコピー</translation>
    </message>
    <message>
        <source>Show legend</source>
        <translation>凡例を表示</translation>
    </message>
    <message>
        <source>Antialiasing</source>
        <translation>アンチエイリアス</translation>
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
        <translation>PNGで保存</translation>
    </message>
    <message>
        <source>PNG pictures (*.png)</source>
        <translation>PNG画像 (*.png)</translation>
    </message>
    <message>
        <source>Cannot save: %1</source>
        <translation>保存できません: %1</translation>
    </message>
    <message>
        <source>Save as SVG</source>
        <translation>SVGで保存</translation>
    </message>
    <message>
        <source>SVG pictures (*.svg)</source>
        <translation>SVG画像 (*.svg)</translation>
    </message>
    <message>
        <source>The data shown has %1 values, too many for the clipboard (at most %2). Show fewer files.</source>
        <translation>表示中のデータは %1 個の値があり、クリップボードには多すぎます (%2 個まで)。表示するファイルを減らしてください。</translation>
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
        <translation>Y1上限</translation>
    </message>
    <message>
        <source>Y2上限</source>
        <translation>Y2上限</translation>
    </message>
    <message>
        <source>Y3上限</source>
        <translation>Y3上限</translation>
    </message>
    <message>
        <source>Link</source>
        <translation>Link</translation>
    </message>
    <message>
        <source>Y1～Y3の縦軸を同調させます</source>
        <translation>Y1～Y3の縦軸を同調させます</translation>
    </message>
    <message>
        <source>Y1:Auto</source>
        <translation>Y1:Auto</translation>
    </message>
    <message>
        <source>Y1軸自動設定</source>
        <translation>Y1軸自動設定</translation>
    </message>
    <message>
        <source>Y2:Auto</source>
        <translation>Y2:Auto</translation>
    </message>
    <message>
        <source>Y2軸自動設定</source>
        <translation>Y2軸自動設定</translation>
    </message>
    <message>
        <source>Y3:Auto</source>
        <translation>Y3:Auto</translation>
    </message>
    <message>
        <source>Y3軸自動設定</source>
        <translation>Y3軸自動設定</translation>
    </message>
    <message>
        <source>Y1下限</source>
        <translation>Y1下限</translation>
    </message>
    <message>
        <source>Y2下限</source>
        <translation>Y2下限</translation>
    </message>
    <message>
        <source>Y3下限</source>
        <translation>Y3下限</translation>
    </message>
    <message>
        <source>X下限</source>
        <translation>X下限</translation>
    </message>
    <message>
        <source>Auto</source>
        <translation>Auto</translation>
    </message>
    <message>
        <source>X軸自動設定</source>
        <translation>X軸自動設定</translation>
    </message>
    <message>
        <source>X上限</source>
        <translation>X上限</translation>
    </message>
    <message>
        <source>X軸のカラム番号</source>
        <translation>X軸のカラム番号</translation>
    </message>
    <message>
        <source>Y1軸のカラム番号</source>
        <translation>Y1軸のカラム番号</translation>
    </message>
    <message>
        <source>Y2軸のカラム番号</source>
        <translation>Y2軸のカラム番号</translation>
    </message>
    <message>
        <source>Y3軸のカラム番号</source>
        <translation>Y3軸のカラム番号</translation>
    </message>
    <message>
        <source>Filename</source>
        <translation>Filename</translation>
    </message>
    <message>
        <source>ファイル名入力</source>
        <translation>ファイル名入力</translation>
    </message>
    <message>
        <source>ファイル選択</source>
        <translation>ファイル選択</translation>
    </message>
    <message>
        <source>iniファイルを保存</source>
        <translation>iniファイルを保存</translation>
    </message>
    <message>
        <source>オプション設定</source>
        <translation>オプション設定</translation>
    </message>
    <message>
        <source>ヘルプ</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>Traces</source>
        <translation>Traces</translation>
    </message>
    <message>
        <source>同時表示データファイル数</source>
        <translation>同時表示データファイル数</translation>
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
        <translation>Y軸の数</translation>
    </message>
    <message>
        <source>Prev.</source>
        <translation>Prev.</translation>
    </message>
    <message>
        <source>前のファイル</source>
        <translation>前のファイル</translation>
    </message>
    <message>
        <source>再描画</source>
        <translation>再描画</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>次のファイル</source>
        <translation>次のファイル</translation>
    </message>
    <message>
        <source>TopMost</source>
        <translation>TopMost</translation>
    </message>
    <message>
        <source>常に最上位</source>
        <translation>常に最上位</translation>
    </message>
    <message>
        <source>DispName</source>
        <translation>DispName</translation>
    </message>
    <message>
        <source>ファイル名を表示</source>
        <translation>ファイル名を表示</translation>
    </message>
    <message>
        <source>Cursor</source>
        <translation>Cursor</translation>
    </message>
    <message>
        <source>カーソル表示</source>
        <translation>カーソル表示</translation>
    </message>
    <message>
        <source>現在のカーソル位置</source>
        <translation>現在のカーソル位置</translation>
    </message>
    <message>
        <source>赤カーソルとの差</source>
        <translation>赤カーソルとの差</translation>
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
        <translation>■描画色の設定</translation>
    </message>
    <message>
        <source>■オプション設定</source>
        <translation>■オプション設定</translation>
    </message>
    <message>
        <source>Y軸設定自動変更</source>
        <translation>Y軸設定自動変更</translation>
    </message>
    <message>
        <source>複数起動しない</source>
        <translation>複数起動しない</translation>
    </message>
    <message>
        <source>Wheel感度:</source>
        <translation>Wheel感度:</translation>
    </message>
    <message>
        <source>counts/scroll</source>
        <translation>counts/scroll</translation>
    </message>
    <message>
        <source>■関連づけ変更</source>
        <translation>■関連づけ変更</translation>
    </message>
    <message>
        <source>拡張子：</source>
        <translation>拡張子：</translation>
    </message>
    <message>
        <source>ダブルクリックで実行</source>
        <translation>ダブルクリックで実行</translation>
    </message>
    <message>
        <source>Tracelyで開く(&amp;Q)</source>
        <translation>Tracelyで開く(&amp;Q)</translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation>元に戻す</translation>
    </message>
    <message>
        <source>Go!</source>
        <translation>Go!</translation>
    </message>
    <message>
        <source>関連づけを</source>
        <translation>関連づけを</translation>
    </message>
    <message>
        <source>全てリセット</source>
        <translation>全てリセット</translation>
    </message>
    <message>
        <source>■ファイル選択ダイアログのフィルタ</source>
        <translation>■ファイル選択ダイアログのフィルタ</translation>
    </message>
    <message>
        <source>戻る</source>
        <translation>戻る</translation>
    </message>
    <message>
        <source>オプション設定</source>
        <translation>オプション設定</translation>
    </message>
</context>
</TS>
