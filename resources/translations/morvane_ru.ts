<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru">
<context>
    <name>AboutBox</name>
    <message>
        <source>morvane Version 1.0</source>
        <translation>morvane, версия 1.0</translation>
    </message>
    <message>
        <source>(C) 2026 the morvane authors</source>
        <translation>(C) 2026 авторы morvane</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About morvane</source>
        <translation>О программе morvane</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>ZRM Files (*.zrm)</source>
        <translation>Файлы ZRM (*.zrm)</translation>
    </message>
    <message>
        <source>The folder of %1 does not exist.</source>
        <translation>Папка для %1 не существует.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>morvane works on one model at a time. These were not opened:</source>
        <translation>morvane работает с одной моделью за раз. Эти файлы не были открыты:</translation>
    </message>
    <message>
        <source>It was too late to cancel: the model has been written to '%1'.</source>
        <translation>Отменять было уже поздно: модель записана в «%1».</translation>
    </message>
    <message>
        <source>'%1' already carries a block of %2 collision volumes: it has been rewritten before.

Saving it adds a second block to every PRIM chunk. Save anyway?</source>
        <translation>«%1» уже содержит блок объёмов столкновений (%2 шт.): модель уже была переписана.

При сохранении в каждый чанк PRIM будет добавлен второй блок. Всё равно сохранить?</translation>
    </message>
    <message>
        <source>Choose ZRM file to load</source>
        <translation>Выберите файл ZRM для загрузки</translation>
    </message>
    <message>
        <source>Choose a ZRM model to read first (step 1).</source>
        <translation>Сначала выберите модель ZRM для чтения (шаг 1).</translation>
    </message>
    <message>
        <source>Choose ZRM name to save as</source>
        <translation>Выберите имя ZRM для сохранения</translation>
    </message>
    <message>
        <source>ZRM chosen: '%1'</source>
        <translation>Выбран ZRM: «%1»</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>Введите целое число.</translation>
    </message>
    <message>
        <source>Please enter a whole number from %1 to %2.</source>
        <translation>Введите целое число от %1 до %2.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Choose ZRM...</source>
        <translation>Выбрать ZRM...</translation>
    </message>
    <message>
        <source>Number of collision volumes:</source>
        <translation>Число объёмов столкновений:</translation>
    </message>
    <message>
        <source>Chosen model</source>
        <translation>Выбранная модель</translation>
    </message>
    <message>
        <source>Save ZRM...</source>
        <translation>Сохранить ZRM...</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing '%1'...</source>
        <translation>Запись «%1»...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Отмена...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Закрыть</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>&amp;О программе morvane...</translation>
    </message>
</context>
</TS>
