<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_CN">
<context>
    <name>AboutBox</name>
    <message>
        <source>morvane Version 1.0</source>
        <translation>morvane 版本 1.0</translation>
    </message>
    <message>
        <source>(C) 2026 the morvane authors</source>
        <translation>(C) 2026 morvane 作者</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>确定</translation>
    </message>
    <message>
        <source>About morvane</source>
        <translation>关于 morvane</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>ZRM Files (*.zrm)</source>
        <translation>ZRM 文件 (*.zrm)</translation>
    </message>
    <message>
        <source>The folder of %1 does not exist.</source>
        <translation>%1 所在的文件夹不存在。</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>morvane works on one model at a time. These were not opened:</source>
        <translation>morvane 一次只处理一个模型。以下文件未打开：</translation>
    </message>
    <message>
        <source>It was too late to cancel: the model has been written to '%1'.</source>
        <translation>已来不及取消：模型已写入“%1”。</translation>
    </message>
    <message>
        <source>'%1' already carries a block of %2 collision volumes: it has been rewritten before.

Saving it adds a second block to every PRIM chunk. Save anyway?</source>
        <translation>“%1”已带有一个含 %2 个碰撞体积的数据块：它之前已被改写过。

保存会给每个 PRIM 区块再添加一个数据块。仍要保存吗？</translation>
    </message>
    <message>
        <source>Choose ZRM file to load</source>
        <translation>选择要加载的 ZRM 文件</translation>
    </message>
    <message>
        <source>Choose a ZRM model to read first (step 1).</source>
        <translation>请先选择要读取的 ZRM 模型（第 1 步）。</translation>
    </message>
    <message>
        <source>Choose ZRM name to save as</source>
        <translation>选择要另存为的 ZRM 名称</translation>
    </message>
    <message>
        <source>ZRM chosen: '%1'</source>
        <translation>已选择 ZRM：“%1”</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>请输入一个整数。</translation>
    </message>
    <message>
        <source>Please enter a whole number from %1 to %2.</source>
        <translation>请输入 %1 到 %2 之间的整数。</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>退出</translation>
    </message>
    <message>
        <source>Choose ZRM...</source>
        <translation>选择 ZRM...</translation>
    </message>
    <message>
        <source>Number of collision volumes:</source>
        <translation>碰撞体积数量：</translation>
    </message>
    <message>
        <source>Chosen model</source>
        <translation>已选模型</translation>
    </message>
    <message>
        <source>Save ZRM...</source>
        <translation>保存 ZRM...</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>The model could not be saved.</source>
        <translation>无法保存模型。</translation>
    </message>
    <message>
        <source>Too many files are open at the moment.</source>
        <translation>当前打开的文件过多。</translation>
    </message>
    <message>
        <source>Close some other programs, then try again.</source>
        <translation>请关闭一些其他程序，然后重试。</translation>
    </message>
    <message>
        <source>There is not enough memory to save the model.</source>
        <translation>内存不足，无法保存模型。</translation>
    </message>
    <message>
        <source>The model was not saved: the trace of its rewrite could not be written.</source>
        <translation>模型未保存：无法写入其改写过程的跟踪记录。</translation>
    </message>
    <message>
        <source>Check where the program's output goes, then save again.</source>
        <translation>请检查程序的输出去向，然后重新保存。</translation>
    </message>
    <message>
        <source>It may have been cut short while it was copied or saved. Choose a complete copy of it.</source>
        <translation>它可能在复制或保存时被截断了。请选择一份完整的副本。</translation>
    </message>
    <message>
        <source>Choose a copy of the model that is not damaged.</source>
        <translation>请选择一份未损坏的模型副本。</translation>
    </message>
    <message>
        <source>This file is not a ZRM model.</source>
        <translation>此文件不是 ZRM 模型。</translation>
    </message>
    <message>
        <source>Choose a file that holds a ZRM model.</source>
        <translation>请选择包含 ZRM 模型的文件。</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a chunk's header.</source>
        <translation>此模型不完整：它在某个区块的头部中间就结束了。</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a %1 chunk.</source>
        <translation>此模型不完整：它在一个 %1 区块中间就结束了。</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a negative size.</source>
        <translation>此模型已损坏：一个 %1 区块的大小为负数。</translation>
    </message>
    <message>
        <source>This model is damaged: the size of a %1 chunk is not a whole number of 4-byte words.</source>
        <translation>此模型已损坏：一个 %1 区块的大小不是 4 字节的整数倍。</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a size larger than a ZRM model can hold.</source>
        <translation>此模型已损坏：一个 %1 区块的大小超出了 ZRM 模型所能容纳的范围。</translation>
    </message>
    <message>
        <source>This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).</source>
        <translation>此模型太大：改写后将超过 ZRM 模型的最大大小（2 GiB）。</translation>
    </message>
    <message>
        <source>The model could not be found.</source>
        <translation>找不到该模型。</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted. Choose it again.</source>
        <translation>它可能已被移动、重命名或删除。请重新选择。</translation>
    </message>
    <message>
        <source>Choose another name for the new model.</source>
        <translation>请为新模型选择另一个名称。</translation>
    </message>
    <message>
        <source>This is a folder, not a model file.</source>
        <translation>这是一个文件夹，不是模型文件。</translation>
    </message>
    <message>
        <source>This is a device or another special file, not a model file.</source>
        <translation>这是一个设备或其他特殊文件，不是模型文件。</translation>
    </message>
    <message>
        <source>Choose a ZRM model file.</source>
        <translation>请选择一个 ZRM 模型文件。</translation>
    </message>
    <message>
        <source>'%1' is a folder, not a file a model can be saved to.</source>
        <translation>“%1”是一个文件夹，不是可以保存模型的文件。</translation>
    </message>
    <message>
        <source>'%1' is a device or another special file, not a file a model can be saved to.</source>
        <translation>“%1”是一个设备或其他特殊文件，不是可以保存模型的文件。</translation>
    </message>
    <message>
        <source>The new model cannot be saved over the model it is made from.</source>
        <translation>新模型不能覆盖保存到生成它的模型上。</translation>
    </message>
    <message>
        <source>'%1' is read-only.</source>
        <translation>“%1”是只读的。</translation>
    </message>
    <message>
        <source>Make it writable, or choose another name for the new model.</source>
        <translation>请将其设为可写，或为新模型选择另一个名称。</translation>
    </message>
    <message>
        <source>'%1' is a link to a file that does not exist.</source>
        <translation>“%1”是指向一个不存在的文件的链接。</translation>
    </message>
    <message>
        <source>'%1' is a link that another user made in a folder that everyone may write to.</source>
        <translation>“%1”是另一位用户在所有人都可写入的文件夹中创建的链接。</translation>
    </message>
    <message>
        <source>Save the model in a folder of your own.</source>
        <translation>请将模型保存到您自己的文件夹中。</translation>
    </message>
    <message>
        <source>Another program made '%1' while the model was being saved; it was left as it is.</source>
        <translation>保存模型期间，另一个程序创建了“%1”；该文件保持原样。</translation>
    </message>
    <message>
        <source>Save again to replace it, or choose another name.</source>
        <translation>请再次保存以替换它，或选择另一个名称。</translation>
    </message>
    <message>
        <source>The model changed while it was being read.</source>
        <translation>模型在读取期间发生了更改。</translation>
    </message>
    <message>
        <source>Another program may be writing it. Wait until it has finished, then try again.</source>
        <translation>可能有另一个程序正在写入它。请等它完成后重试。</translation>
    </message>
    <message>
        <source>There is not enough room on the disk for the new model.</source>
        <translation>磁盘空间不足，无法保存新模型。</translation>
    </message>
    <message>
        <source>Free some space, or save it on another disk.</source>
        <translation>请释放一些空间，或将其保存到另一个磁盘。</translation>
    </message>
    <message>
        <source>The new model is larger than the system allows this program to write.</source>
        <translation>新模型超出了系统允许此程序写入的文件大小。</translation>
    </message>
    <message>
        <source>Save it on another disk, or ask your administrator to raise the limit on file sizes.</source>
        <translation>请将其保存到另一个磁盘，或请管理员提高文件大小限制。</translation>
    </message>
    <message>
        <source>Another program has this model open for writing.</source>
        <translation>另一个程序已打开此模型进行写入。</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>请等它完成后重试。</translation>
    </message>
    <message>
        <source>'%1' is in use by another program.</source>
        <translation>“%1”正被另一个程序使用。</translation>
    </message>
    <message>
        <source>Close it there, then save again.</source>
        <translation>请在该程序中关闭它，然后重新保存。</translation>
    </message>
    <message>
        <source>The folder '%1' is on a disk that cannot be written to.</source>
        <translation>文件夹“%1”所在的磁盘无法写入。</translation>
    </message>
    <message>
        <source>Save the model on another disk.</source>
        <translation>请将模型保存到另一个磁盘。</translation>
    </message>
    <message>
        <source>'%1' belongs to another user, and the new model cannot be given to them.</source>
        <translation>“%1”属于另一位用户，无法将新模型的所有权交给该用户。</translation>
    </message>
    <message>
        <source>The new model could not be given the permissions and attributes that '%1' has.</source>
        <translation>无法为新模型设置“%1”所具有的权限和属性。</translation>
    </message>
    <message>
        <source>The new model was saved as '%1', but the system could not confirm that it is safely on the disk.</source>
        <translation>新模型已保存为“%1”，但系统无法确认它已安全写入磁盘。</translation>
    </message>
    <message>
        <source>Save it again to be sure.</source>
        <translation>为保险起见，请重新保存。</translation>
    </message>
    <message>
        <source>You do not have permission to read this model.</source>
        <translation>您没有读取此模型的权限。</translation>
    </message>
    <message>
        <source>Ask its owner for access, or choose a copy you can read.</source>
        <translation>请向其所有者申请访问权限，或选择一份您可以读取的副本。</translation>
    </message>
    <message>
        <source>The model could not be read.</source>
        <translation>无法读取该模型。</translation>
    </message>
    <message>
        <source>Check that its disk or network folder can be reached, then try again.</source>
        <translation>请检查其所在的磁盘或网络文件夹是否可以访问，然后重试。</translation>
    </message>
    <message>
        <source>The folder '%1' does not exist.</source>
        <translation>文件夹“%1”不存在。</translation>
    </message>
    <message>
        <source>Choose a folder that exists.</source>
        <translation>请选择一个存在的文件夹。</translation>
    </message>
    <message>
        <source>You cannot write to the folder '%1'.</source>
        <translation>您无法写入文件夹“%1”。</translation>
    </message>
    <message>
        <source>Choose another folder, or ask for permission to write there.</source>
        <translation>请选择另一个文件夹，或申请在该处写入的权限。</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing '%1'...</source>
        <translation>正在写入“%1”...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>正在取消...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>取消</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>The user guide is missing from '%1'. Install morvane again to put it back.</source>
        <translation>“%1”中缺少用户指南。请重新安装 morvane 以恢复它。</translation>
    </message>
    <message>
        <source>The desktop has no program to show the user guide in. Open '%1' in a web browser.</source>
        <translation>桌面上没有可显示用户指南的程序。请在网页浏览器中打开“%1”。</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>关于 morvane(&amp;A)...</translation>
    </message>
</context>
</TS>
