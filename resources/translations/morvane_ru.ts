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
    <name>Messages</name>
    <message>
        <source>The model could not be saved.</source>
        <translation>Не удалось сохранить модель.</translation>
    </message>
    <message>
        <source>Too many files are open at the moment.</source>
        <translation>Сейчас открыто слишком много файлов.</translation>
    </message>
    <message>
        <source>Close some other programs, then try again.</source>
        <translation>Закройте некоторые другие программы и повторите попытку.</translation>
    </message>
    <message>
        <source>There is not enough memory to save the model.</source>
        <translation>Недостаточно памяти для сохранения модели.</translation>
    </message>
    <message>
        <source>The model was not saved: the trace of its rewrite could not be written.</source>
        <translation>Модель не сохранена: не удалось записать трассировку её переписывания.</translation>
    </message>
    <message>
        <source>Check where the program's output goes, then save again.</source>
        <translation>Проверьте, куда направлен вывод программы, и сохраните ещё раз.</translation>
    </message>
    <message>
        <source>It may have been cut short while it was copied or saved. Choose a complete copy of it.</source>
        <translation>Возможно, файл был обрезан при копировании или сохранении. Выберите его полную копию.</translation>
    </message>
    <message>
        <source>Choose a copy of the model that is not damaged.</source>
        <translation>Выберите неповреждённую копию модели.</translation>
    </message>
    <message>
        <source>This file is not a ZRM model.</source>
        <translation>Этот файл не является моделью ZRM.</translation>
    </message>
    <message>
        <source>Choose a file that holds a ZRM model.</source>
        <translation>Выберите файл, содержащий модель ZRM.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a chunk's header.</source>
        <translation>Модель неполная: она обрывается внутри заголовка чанка.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a %1 chunk.</source>
        <translation>Модель неполная: она обрывается внутри чанка %1.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a negative size.</source>
        <translation>Модель повреждена: у чанка %1 отрицательный размер.</translation>
    </message>
    <message>
        <source>This model is damaged: the size of a %1 chunk is not a whole number of 4-byte words.</source>
        <translation>Модель повреждена: размер чанка %1 не кратен 4 байтам.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a size larger than a ZRM model can hold.</source>
        <translation>Модель повреждена: у чанка %1 размер больше, чем может вместить модель ZRM.</translation>
    </message>
    <message>
        <source>This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).</source>
        <translation>Модель слишком велика: после переписывания она превысит предельный размер модели ZRM (2 ГиБ).</translation>
    </message>
    <message>
        <source>The model could not be found.</source>
        <translation>Модель не найдена.</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted. Choose it again.</source>
        <translation>Возможно, её переместили, переименовали или удалили. Выберите её снова.</translation>
    </message>
    <message>
        <source>Choose another name for the new model.</source>
        <translation>Выберите другое имя для новой модели.</translation>
    </message>
    <message>
        <source>This is a folder, not a model file.</source>
        <translation>Это папка, а не файл модели.</translation>
    </message>
    <message>
        <source>This is a device or another special file, not a model file.</source>
        <translation>Это устройство или другой специальный файл, а не файл модели.</translation>
    </message>
    <message>
        <source>Choose a ZRM model file.</source>
        <translation>Выберите файл модели ZRM.</translation>
    </message>
    <message>
        <source>'%1' is a folder, not a file a model can be saved to.</source>
        <translation>«%1» — папка, а не файл, в который можно сохранить модель.</translation>
    </message>
    <message>
        <source>'%1' is a device or another special file, not a file a model can be saved to.</source>
        <translation>«%1» — устройство или другой специальный файл, а не файл, в который можно сохранить модель.</translation>
    </message>
    <message>
        <source>The new model cannot be saved over the model it is made from.</source>
        <translation>Новую модель нельзя сохранить поверх модели, из которой она создаётся.</translation>
    </message>
    <message>
        <source>'%1' is read-only.</source>
        <translation>Файл «%1» доступен только для чтения.</translation>
    </message>
    <message>
        <source>Make it writable, or choose another name for the new model.</source>
        <translation>Разрешите запись в него или выберите другое имя для новой модели.</translation>
    </message>
    <message>
        <source>'%1' is a link to a file that does not exist.</source>
        <translation>«%1» — ссылка на несуществующий файл.</translation>
    </message>
    <message>
        <source>'%1' is a link that another user made in a folder that everyone may write to.</source>
        <translation>«%1» — ссылка, которую другой пользователь создал в папке, доступной для записи всем.</translation>
    </message>
    <message>
        <source>Save the model in a folder of your own.</source>
        <translation>Сохраните модель в собственной папке.</translation>
    </message>
    <message>
        <source>Another program made '%1' while the model was being saved; it was left as it is.</source>
        <translation>Другая программа создала «%1», пока модель сохранялась; файл оставлен без изменений.</translation>
    </message>
    <message>
        <source>Save again to replace it, or choose another name.</source>
        <translation>Сохраните ещё раз, чтобы заменить его, или выберите другое имя.</translation>
    </message>
    <message>
        <source>The model changed while it was being read.</source>
        <translation>Модель изменилась во время чтения.</translation>
    </message>
    <message>
        <source>Another program may be writing it. Wait until it has finished, then try again.</source>
        <translation>Возможно, в неё сейчас записывает другая программа. Дождитесь окончания и повторите попытку.</translation>
    </message>
    <message>
        <source>There is not enough room on the disk for the new model.</source>
        <translation>На диске недостаточно места для новой модели.</translation>
    </message>
    <message>
        <source>Free some space, or save it on another disk.</source>
        <translation>Освободите место или сохраните модель на другом диске.</translation>
    </message>
    <message>
        <source>The new model is larger than the system allows this program to write.</source>
        <translation>Новая модель больше, чем система разрешает записывать этой программе.</translation>
    </message>
    <message>
        <source>Save it on another disk, or ask your administrator to raise the limit on file sizes.</source>
        <translation>Сохраните её на другом диске или попросите администратора увеличить ограничение на размер файлов.</translation>
    </message>
    <message>
        <source>Another program has this model open for writing.</source>
        <translation>Другая программа открыла эту модель для записи.</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>Дождитесь окончания и повторите попытку.</translation>
    </message>
    <message>
        <source>'%1' is in use by another program.</source>
        <translation>«%1» используется другой программой.</translation>
    </message>
    <message>
        <source>Close it there, then save again.</source>
        <translation>Закройте его в той программе и сохраните ещё раз.</translation>
    </message>
    <message>
        <source>The folder '%1' is on a disk that cannot be written to.</source>
        <translation>Папка «%1» находится на диске, недоступном для записи.</translation>
    </message>
    <message>
        <source>Save the model on another disk.</source>
        <translation>Сохраните модель на другом диске.</translation>
    </message>
    <message>
        <source>'%1' belongs to another user, and the new model cannot be given to them.</source>
        <translation>«%1» принадлежит другому пользователю, и новую модель нельзя передать ему.</translation>
    </message>
    <message>
        <source>The new model could not be given the permissions and attributes that '%1' has.</source>
        <translation>Не удалось дать новой модели права доступа и атрибуты, которые есть у «%1».</translation>
    </message>
    <message>
        <source>The new model was saved as '%1', but the system could not confirm that it is safely on the disk.</source>
        <translation>Новая модель сохранена как «%1», но система не смогла подтвердить, что она надёжно записана на диск.</translation>
    </message>
    <message>
        <source>Save it again to be sure.</source>
        <translation>Сохраните её ещё раз для надёжности.</translation>
    </message>
    <message>
        <source>You do not have permission to read this model.</source>
        <translation>У Вас нет разрешения на чтение этой модели.</translation>
    </message>
    <message>
        <source>Ask its owner for access, or choose a copy you can read.</source>
        <translation>Попросите доступ у её владельца или выберите копию, которую Вы можете прочитать.</translation>
    </message>
    <message>
        <source>The model could not be read.</source>
        <translation>Не удалось прочитать модель.</translation>
    </message>
    <message>
        <source>Check that its disk or network folder can be reached, then try again.</source>
        <translation>Проверьте, доступен ли её диск или сетевая папка, и повторите попытку.</translation>
    </message>
    <message>
        <source>The folder '%1' does not exist.</source>
        <translation>Папка «%1» не существует.</translation>
    </message>
    <message>
        <source>Choose a folder that exists.</source>
        <translation>Выберите существующую папку.</translation>
    </message>
    <message>
        <source>You cannot write to the folder '%1'.</source>
        <translation>Вы не можете записывать в папку «%1».</translation>
    </message>
    <message>
        <source>Choose another folder, or ask for permission to write there.</source>
        <translation>Выберите другую папку или попросите разрешение на запись в неё.</translation>
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
    <name>UserGuide</name>
    <message>
        <source>The user guide is missing from '%1'. Install morvane again to put it back.</source>
        <translation>Руководство пользователя отсутствует в «%1». Установите morvane заново, чтобы восстановить его.</translation>
    </message>
    <message>
        <source>The desktop has no program to show the user guide in. Open '%1' in a web browser.</source>
        <translation>На рабочем столе нет программы для просмотра руководства пользователя. Откройте «%1» в веб-браузере.</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Закрыть</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Справка</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>&amp;О программе morvane...</translation>
    </message>
</context>
</TS>
