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
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>关闭(&amp;C)</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>关于 morvane(&amp;A)...</translation>
    </message>
</context>
</TS>
