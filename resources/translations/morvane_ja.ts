<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja">
<context>
    <name>AboutBox</name>
    <message>
        <source>morvane Version 1.0</source>
        <translation>morvane バージョン 1.0</translation>
    </message>
    <message>
        <source>(C) 2026 the morvane authors</source>
        <translation>(C) 2026 morvane の作者</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About morvane</source>
        <translation>morvane について</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>ZRM Files (*.zrm)</source>
        <translation>ZRM ファイル (*.zrm)</translation>
    </message>
    <message>
        <source>The folder of %1 does not exist.</source>
        <translation>%1 のフォルダーは存在しません。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>morvane works on one model at a time. These were not opened:</source>
        <translation>morvane は一度に 1 つのモデルだけを扱います。次のファイルは開かれませんでした:</translation>
    </message>
    <message>
        <source>It was too late to cancel: the model has been written to '%1'.</source>
        <translation>キャンセルするには遅すぎました。モデルは「%1」に書き込まれました。</translation>
    </message>
    <message>
        <source>'%1' already carries a block of %2 collision volumes: it has been rewritten before.

Saving it adds a second block to every PRIM chunk. Save anyway?</source>
        <translation>「%1」には既に %2 個の衝突ボリュームのブロックがあります。以前に書き換えられたモデルです。

保存すると、すべての PRIM チャンクに 2 つ目のブロックが追加されます。保存しますか?</translation>
    </message>
    <message>
        <source>Choose ZRM file to load</source>
        <translation>読み込む ZRM ファイルを選択</translation>
    </message>
    <message>
        <source>Choose a ZRM model to read first (step 1).</source>
        <translation>まず読み込む ZRM モデルを選択してください (手順 1)。</translation>
    </message>
    <message>
        <source>Choose ZRM name to save as</source>
        <translation>保存する ZRM の名前を選択</translation>
    </message>
    <message>
        <source>ZRM chosen: '%1'</source>
        <translation>選択した ZRM: 「%1」</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>整数を入力してください。</translation>
    </message>
    <message>
        <source>Please enter a whole number from %1 to %2.</source>
        <translation>%1 から %2 までの整数を入力してください。</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>終了</translation>
    </message>
    <message>
        <source>Choose ZRM...</source>
        <translation>ZRM を選択...</translation>
    </message>
    <message>
        <source>Number of collision volumes:</source>
        <translation>衝突ボリュームの数:</translation>
    </message>
    <message>
        <source>Chosen model</source>
        <translation>選択したモデル</translation>
    </message>
    <message>
        <source>Save ZRM...</source>
        <translation>ZRM を保存...</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing '%1'...</source>
        <translation>「%1」を書き込んでいます...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>キャンセルしています...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>キャンセル</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>morvane について(&amp;A)...</translation>
    </message>
</context>
</TS>
