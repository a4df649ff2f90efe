<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>AboutBox</name>
    <message>
        <source>morvane Version 1.0</source>
        <translation>morvane Version 1.0</translation>
    </message>
    <message>
        <source>(C) 2026 the morvane authors</source>
        <translation>(C) 2026 die Autoren von morvane</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About morvane</source>
        <translation>Über morvane</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>ZRM Files (*.zrm)</source>
        <translation>ZRM-Dateien (*.zrm)</translation>
    </message>
    <message>
        <source>The folder of %1 does not exist.</source>
        <translation>Der Ordner von %1 existiert nicht.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>morvane works on one model at a time. These were not opened:</source>
        <translation>morvane bearbeitet ein Modell nach dem anderen. Diese wurden nicht geöffnet:</translation>
    </message>
    <message>
        <source>It was too late to cancel: the model has been written to '%1'.</source>
        <translation>Für einen Abbruch war es zu spät: Das Modell wurde in „%1“ geschrieben.</translation>
    </message>
    <message>
        <source>'%1' already carries a block of %2 collision volumes: it has been rewritten before.

Saving it adds a second block to every PRIM chunk. Save anyway?</source>
        <translation>„%1“ trägt bereits einen Block mit %2 Kollisionsvolumen: Es wurde schon einmal umgeschrieben.

Beim Speichern erhält jeder PRIM-Chunk einen zweiten Block. Trotzdem speichern?</translation>
    </message>
    <message>
        <source>Choose ZRM file to load</source>
        <translation>ZRM-Datei zum Laden wählen</translation>
    </message>
    <message>
        <source>Choose a ZRM model to read first (step 1).</source>
        <translation>Wählen Sie zuerst ein ZRM-Modell zum Lesen (Schritt 1).</translation>
    </message>
    <message>
        <source>Choose ZRM name to save as</source>
        <translation>ZRM-Namen zum Speichern wählen</translation>
    </message>
    <message>
        <source>ZRM chosen: '%1'</source>
        <translation>ZRM gewählt: „%1“</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>Bitte geben Sie eine ganze Zahl ein.</translation>
    </message>
    <message>
        <source>Please enter a whole number from %1 to %2.</source>
        <translation>Bitte geben Sie eine ganze Zahl von %1 bis %2 ein.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Choose ZRM...</source>
        <translation>ZRM wählen...</translation>
    </message>
    <message>
        <source>Number of collision volumes:</source>
        <translation>Anzahl der Kollisionsvolumen:</translation>
    </message>
    <message>
        <source>Chosen model</source>
        <translation>Gewähltes Modell</translation>
    </message>
    <message>
        <source>Save ZRM...</source>
        <translation>ZRM speichern...</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing '%1'...</source>
        <translation>„%1“ wird geschrieben...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Wird abgebrochen...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>The user guide is missing from '%1'. Install morvane again to put it back.</source>
        <translation>Das Benutzerhandbuch fehlt in „%1“. Installieren Sie morvane erneut, um es wiederherzustellen.</translation>
    </message>
    <message>
        <source>The desktop has no program to show the user guide in. Open '%1' in a web browser.</source>
        <translation>Auf dem Desktop gibt es kein Programm, das das Benutzerhandbuch anzeigen kann. Öffnen Sie „%1“ in einem Webbrowser.</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>Ü&amp;ber morvane...</translation>
    </message>
</context>
</TS>
