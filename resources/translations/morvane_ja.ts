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
    <name>Messages</name>
    <message>
        <source>The model could not be saved.</source>
        <translation>モデルを保存できませんでした。</translation>
    </message>
    <message>
        <source>Too many files are open at the moment.</source>
        <translation>現在、開いているファイルが多すぎます。</translation>
    </message>
    <message>
        <source>Close some other programs, then try again.</source>
        <translation>ほかのプログラムをいくつか閉じてから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>There is not enough memory to save the model.</source>
        <translation>モデルを保存するためのメモリが足りません。</translation>
    </message>
    <message>
        <source>The model was not saved: the trace of its rewrite could not be written.</source>
        <translation>モデルは保存されませんでした。書き換えのトレースを書き込めませんでした。</translation>
    </message>
    <message>
        <source>Check where the program's output goes, then save again.</source>
        <translation>プログラムの出力先を確認してから、もう一度保存してください。</translation>
    </message>
    <message>
        <source>It may have been cut short while it was copied or saved. Choose a complete copy of it.</source>
        <translation>コピーまたは保存の途中で切れた可能性があります。完全なコピーを選択してください。</translation>
    </message>
    <message>
        <source>Choose a copy of the model that is not damaged.</source>
        <translation>破損していないモデルのコピーを選択してください。</translation>
    </message>
    <message>
        <source>This file is not a ZRM model.</source>
        <translation>このファイルは ZRM モデルではありません。</translation>
    </message>
    <message>
        <source>Choose a file that holds a ZRM model.</source>
        <translation>ZRM モデルを含むファイルを選択してください。</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a chunk's header.</source>
        <translation>このモデルは不完全です。チャンクのヘッダーの途中で終わっています。</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a %1 chunk.</source>
        <translation>このモデルは不完全です。%1 チャンクの途中で終わっています。</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a negative size.</source>
        <translation>このモデルは破損しています。%1 チャンクのサイズが負の値です。</translation>
    </message>
    <message>
        <source>This model is damaged: the size of a %1 chunk is not a whole number of 4-byte words.</source>
        <translation>このモデルは破損しています。%1 チャンクのサイズが 4 バイトの倍数ではありません。</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a size larger than a ZRM model can hold.</source>
        <translation>このモデルは破損しています。%1 チャンクのサイズが、ZRM モデルに収まる大きさを超えています。</translation>
    </message>
    <message>
        <source>This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).</source>
        <translation>このモデルは大きすぎます。書き換えると ZRM モデルの上限 (2 GiB) を超えます。</translation>
    </message>
    <message>
        <source>The model could not be found.</source>
        <translation>モデルが見つかりませんでした。</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted. Choose it again.</source>
        <translation>移動、名前の変更、または削除された可能性があります。もう一度選択してください。</translation>
    </message>
    <message>
        <source>Choose another name for the new model.</source>
        <translation>新しいモデルに別の名前を選択してください。</translation>
    </message>
    <message>
        <source>This is a folder, not a model file.</source>
        <translation>これはフォルダーです。モデル ファイルではありません。</translation>
    </message>
    <message>
        <source>This is a device or another special file, not a model file.</source>
        <translation>これはデバイスなどの特殊なファイルです。モデル ファイルではありません。</translation>
    </message>
    <message>
        <source>Choose a ZRM model file.</source>
        <translation>ZRM モデル ファイルを選択してください。</translation>
    </message>
    <message>
        <source>'%1' is a folder, not a file a model can be saved to.</source>
        <translation>「%1」はフォルダーです。モデルを保存できるファイルではありません。</translation>
    </message>
    <message>
        <source>'%1' is a device or another special file, not a file a model can be saved to.</source>
        <translation>「%1」はデバイスなどの特殊なファイルです。モデルを保存できるファイルではありません。</translation>
    </message>
    <message>
        <source>The new model cannot be saved over the model it is made from.</source>
        <translation>新しいモデルを、その元になったモデルに上書きして保存することはできません。</translation>
    </message>
    <message>
        <source>'%1' is read-only.</source>
        <translation>「%1」は読み取り専用です。</translation>
    </message>
    <message>
        <source>Make it writable, or choose another name for the new model.</source>
        <translation>書き込み可能にするか、新しいモデルに別の名前を選択してください。</translation>
    </message>
    <message>
        <source>'%1' is a link to a file that does not exist.</source>
        <translation>「%1」は存在しないファイルへのリンクです。</translation>
    </message>
    <message>
        <source>'%1' is a link that another user made in a folder that everyone may write to.</source>
        <translation>「%1」は、だれでも書き込めるフォルダーにほかのユーザーが作成したリンクです。</translation>
    </message>
    <message>
        <source>Save the model in a folder of your own.</source>
        <translation>ご自分のフォルダーにモデルを保存してください。</translation>
    </message>
    <message>
        <source>Another program made '%1' while the model was being saved; it was left as it is.</source>
        <translation>モデルの保存中にほかのプログラムが「%1」を作成しました。このファイルはそのままにしてあります。</translation>
    </message>
    <message>
        <source>Save again to replace it, or choose another name.</source>
        <translation>置き換えるにはもう一度保存するか、別の名前を選択してください。</translation>
    </message>
    <message>
        <source>The model changed while it was being read.</source>
        <translation>読み込み中にモデルが変更されました。</translation>
    </message>
    <message>
        <source>Another program may be writing it. Wait until it has finished, then try again.</source>
        <translation>ほかのプログラムが書き込んでいる可能性があります。終わるまで待ってから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>There is not enough room on the disk for the new model.</source>
        <translation>ディスクに新しいモデルを保存する空き領域が足りません。</translation>
    </message>
    <message>
        <source>Free some space, or save it on another disk.</source>
        <translation>空き領域を増やすか、別のディスクに保存してください。</translation>
    </message>
    <message>
        <source>The new model is larger than the system allows this program to write.</source>
        <translation>新しいモデルは、システムがこのプログラムに書き込みを許可しているサイズを超えています。</translation>
    </message>
    <message>
        <source>Save it on another disk, or ask your administrator to raise the limit on file sizes.</source>
        <translation>別のディスクに保存するか、ファイル サイズの上限を上げるよう管理者に依頼してください。</translation>
    </message>
    <message>
        <source>Another program has this model open for writing.</source>
        <translation>ほかのプログラムがこのモデルを書き込み用に開いています。</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>終わるまで待ってから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>'%1' is in use by another program.</source>
        <translation>「%1」はほかのプログラムで使用中です。</translation>
    </message>
    <message>
        <source>Close it there, then save again.</source>
        <translation>そのプログラムで閉じてから、もう一度保存してください。</translation>
    </message>
    <message>
        <source>The folder '%1' is on a disk that cannot be written to.</source>
        <translation>フォルダー「%1」は書き込みできないディスク上にあります。</translation>
    </message>
    <message>
        <source>Save the model on another disk.</source>
        <translation>別のディスクにモデルを保存してください。</translation>
    </message>
    <message>
        <source>'%1' belongs to another user, and the new model cannot be given to them.</source>
        <translation>「%1」はほかのユーザーが所有しているため、新しいモデルをそのユーザーの所有にできません。</translation>
    </message>
    <message>
        <source>The new model could not be given the permissions and attributes that '%1' has.</source>
        <translation>新しいモデルに「%1」と同じアクセス許可と属性を設定できませんでした。</translation>
    </message>
    <message>
        <source>The new model was saved as '%1', but the system could not confirm that it is safely on the disk.</source>
        <translation>新しいモデルは「%1」として保存されましたが、ディスクに確実に書き込まれたことをシステムが確認できませんでした。</translation>
    </message>
    <message>
        <source>Save it again to be sure.</source>
        <translation>念のため、もう一度保存してください。</translation>
    </message>
    <message>
        <source>You do not have permission to read this model.</source>
        <translation>このモデルを読み取るアクセス許可がありません。</translation>
    </message>
    <message>
        <source>Ask its owner for access, or choose a copy you can read.</source>
        <translation>所有者にアクセスを依頼するか、読み取れるコピーを選択してください。</translation>
    </message>
    <message>
        <source>The model could not be read.</source>
        <translation>モデルを読み込めませんでした。</translation>
    </message>
    <message>
        <source>Check that its disk or network folder can be reached, then try again.</source>
        <translation>ディスクまたはネットワーク フォルダーにアクセスできることを確認してから、もう一度お試しください。</translation>
    </message>
    <message>
        <source>The folder '%1' does not exist.</source>
        <translation>フォルダー「%1」は存在しません。</translation>
    </message>
    <message>
        <source>Choose a folder that exists.</source>
        <translation>存在するフォルダーを選択してください。</translation>
    </message>
    <message>
        <source>You cannot write to the folder '%1'.</source>
        <translation>フォルダー「%1」に書き込むことはできません。</translation>
    </message>
    <message>
        <source>Choose another folder, or ask for permission to write there.</source>
        <translation>別のフォルダーを選択するか、そこに書き込む許可を依頼してください。</translation>
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
    <name>UserGuide</name>
    <message>
        <source>The user guide is missing from '%1'. Install morvane again to put it back.</source>
        <translation>ユーザーガイドが「%1」にありません。morvane をインストールし直して復元してください。</translation>
    </message>
    <message>
        <source>The desktop has no program to show the user guide in. Open '%1' in a web browser.</source>
        <translation>ユーザーガイドを表示するプログラムがデスクトップにありません。Web ブラウザーで「%1」を開いてください。</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>閉じる(&amp;C)</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>ヘルプ</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>morvane について(&amp;A)...</translation>
    </message>
</context>
</TS>
