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
    <name>Messages</name>
    <message>
        <source>The model could not be saved.</source>
        <translation>Das Modell konnte nicht gespeichert werden.</translation>
    </message>
    <message>
        <source>Too many files are open at the moment.</source>
        <translation>Im Moment sind zu viele Dateien geöffnet.</translation>
    </message>
    <message>
        <source>Close some other programs, then try again.</source>
        <translation>Schließen Sie einige andere Programme und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>There is not enough memory to save the model.</source>
        <translation>Zum Speichern des Modells ist nicht genug Arbeitsspeicher frei.</translation>
    </message>
    <message>
        <source>The model was not saved: the trace of its rewrite could not be written.</source>
        <translation>Das Modell wurde nicht gespeichert: Das Protokoll des Umschreibens konnte nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Check where the program's output goes, then save again.</source>
        <translation>Prüfen Sie, wohin die Ausgabe des Programms geht, und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>It may have been cut short while it was copied or saved. Choose a complete copy of it.</source>
        <translation>Es wurde vielleicht beim Kopieren oder Speichern abgeschnitten. Wählen Sie eine vollständige Kopie davon.</translation>
    </message>
    <message>
        <source>Choose a copy of the model that is not damaged.</source>
        <translation>Wählen Sie eine unbeschädigte Kopie des Modells.</translation>
    </message>
    <message>
        <source>This file is not a ZRM model.</source>
        <translation>Diese Datei ist kein ZRM-Modell.</translation>
    </message>
    <message>
        <source>Choose a file that holds a ZRM model.</source>
        <translation>Wählen Sie eine Datei, die ein ZRM-Modell enthält.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a chunk's header.</source>
        <translation>Dieses Modell ist unvollständig: Es endet mitten im Kopf eines Chunks.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a %1 chunk.</source>
        <translation>Dieses Modell ist unvollständig: Es endet mitten in einem %1-Chunk.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a negative size.</source>
        <translation>Dieses Modell ist beschädigt: Ein %1-Chunk hat eine negative Größe.</translation>
    </message>
    <message>
        <source>This model is damaged: the size of a %1 chunk is not a whole number of 4-byte words.</source>
        <translation>Dieses Modell ist beschädigt: Die Größe eines %1-Chunks ist kein Vielfaches von 4 Byte.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a size larger than a ZRM model can hold.</source>
        <translation>Dieses Modell ist beschädigt: Ein %1-Chunk gibt eine Größe an, die kein ZRM-Modell fassen kann.</translation>
    </message>
    <message>
        <source>This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).</source>
        <translation>Dieses Modell ist zu groß: Umgeschrieben wäre es größer, als ein ZRM-Modell sein kann (2 GiB).</translation>
    </message>
    <message>
        <source>The model could not be found.</source>
        <translation>Das Modell wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted. Choose it again.</source>
        <translation>Es wurde vielleicht verschoben, umbenannt oder gelöscht. Wählen Sie es erneut.</translation>
    </message>
    <message>
        <source>Choose another name for the new model.</source>
        <translation>Wählen Sie einen anderen Namen für das neue Modell.</translation>
    </message>
    <message>
        <source>This is a folder, not a model file.</source>
        <translation>Dies ist ein Ordner, keine Modelldatei.</translation>
    </message>
    <message>
        <source>This is a device or another special file, not a model file.</source>
        <translation>Dies ist ein Gerät oder eine andere Spezialdatei, keine Modelldatei.</translation>
    </message>
    <message>
        <source>Choose a ZRM model file.</source>
        <translation>Wählen Sie eine ZRM-Modelldatei.</translation>
    </message>
    <message>
        <source>'%1' is a folder, not a file a model can be saved to.</source>
        <translation>„%1“ ist ein Ordner, keine Datei, in der ein Modell gespeichert werden kann.</translation>
    </message>
    <message>
        <source>'%1' is a device or another special file, not a file a model can be saved to.</source>
        <translation>„%1“ ist ein Gerät oder eine andere Spezialdatei, keine Datei, in der ein Modell gespeichert werden kann.</translation>
    </message>
    <message>
        <source>The new model cannot be saved over the model it is made from.</source>
        <translation>Das neue Modell kann nicht über dem Modell gespeichert werden, aus dem es entsteht.</translation>
    </message>
    <message>
        <source>'%1' is read-only.</source>
        <translation>„%1“ ist schreibgeschützt.</translation>
    </message>
    <message>
        <source>Make it writable, or choose another name for the new model.</source>
        <translation>Heben Sie den Schreibschutz auf oder wählen Sie einen anderen Namen für das neue Modell.</translation>
    </message>
    <message>
        <source>'%1' is a link to a file that does not exist.</source>
        <translation>„%1“ ist eine Verknüpfung zu einer Datei, die nicht existiert.</translation>
    </message>
    <message>
        <source>'%1' is a link that another user made in a folder that everyone may write to.</source>
        <translation>„%1“ ist eine Verknüpfung, die ein anderer Benutzer in einem Ordner angelegt hat, in den alle schreiben dürfen.</translation>
    </message>
    <message>
        <source>Save the model in a folder of your own.</source>
        <translation>Speichern Sie das Modell in einem eigenen Ordner.</translation>
    </message>
    <message>
        <source>Another program made '%1' while the model was being saved; it was left as it is.</source>
        <translation>Ein anderes Programm hat „%1“ angelegt, während das Modell gespeichert wurde; die Datei wurde nicht verändert.</translation>
    </message>
    <message>
        <source>Save again to replace it, or choose another name.</source>
        <translation>Speichern Sie erneut, um sie zu ersetzen, oder wählen Sie einen anderen Namen.</translation>
    </message>
    <message>
        <source>The model changed while it was being read.</source>
        <translation>Das Modell hat sich geändert, während es gelesen wurde.</translation>
    </message>
    <message>
        <source>Another program may be writing it. Wait until it has finished, then try again.</source>
        <translation>Vielleicht schreibt gerade ein anderes Programm hinein. Warten Sie, bis es fertig ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>There is not enough room on the disk for the new model.</source>
        <translation>Auf dem Datenträger ist nicht genug Platz für das neue Modell.</translation>
    </message>
    <message>
        <source>Free some space, or save it on another disk.</source>
        <translation>Geben Sie Speicherplatz frei oder speichern Sie es auf einem anderen Datenträger.</translation>
    </message>
    <message>
        <source>The new model is larger than the system allows this program to write.</source>
        <translation>Das neue Modell ist größer, als das System diesem Programm zu schreiben erlaubt.</translation>
    </message>
    <message>
        <source>Save it on another disk, or ask your administrator to raise the limit on file sizes.</source>
        <translation>Speichern Sie es auf einem anderen Datenträger oder bitten Sie Ihren Administrator, die Grenze für Dateigrößen anzuheben.</translation>
    </message>
    <message>
        <source>Another program has this model open for writing.</source>
        <translation>Ein anderes Programm hat dieses Modell zum Schreiben geöffnet.</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>Warten Sie, bis es fertig ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>'%1' is in use by another program.</source>
        <translation>„%1“ wird von einem anderen Programm verwendet.</translation>
    </message>
    <message>
        <source>Close it there, then save again.</source>
        <translation>Schließen Sie die Datei dort und speichern Sie dann erneut.</translation>
    </message>
    <message>
        <source>The folder '%1' is on a disk that cannot be written to.</source>
        <translation>Der Ordner „%1“ liegt auf einem Datenträger, auf den nicht geschrieben werden kann.</translation>
    </message>
    <message>
        <source>Save the model on another disk.</source>
        <translation>Speichern Sie das Modell auf einem anderen Datenträger.</translation>
    </message>
    <message>
        <source>'%1' belongs to another user, and the new model cannot be given to them.</source>
        <translation>„%1“ gehört einem anderen Benutzer, und das neue Modell kann ihm nicht übertragen werden.</translation>
    </message>
    <message>
        <source>The new model could not be given the permissions and attributes that '%1' has.</source>
        <translation>Das neue Modell konnte nicht die Berechtigungen und Attribute von „%1“ erhalten.</translation>
    </message>
    <message>
        <source>The new model was saved as '%1', but the system could not confirm that it is safely on the disk.</source>
        <translation>Das neue Modell wurde als „%1“ gespeichert, aber das System konnte nicht bestätigen, dass es sicher auf dem Datenträger liegt.</translation>
    </message>
    <message>
        <source>Save it again to be sure.</source>
        <translation>Speichern Sie es zur Sicherheit erneut.</translation>
    </message>
    <message>
        <source>You do not have permission to read this model.</source>
        <translation>Sie haben keine Berechtigung, dieses Modell zu lesen.</translation>
    </message>
    <message>
        <source>Ask its owner for access, or choose a copy you can read.</source>
        <translation>Bitten Sie den Eigentümer um Zugriff oder wählen Sie eine Kopie, die Sie lesen können.</translation>
    </message>
    <message>
        <source>The model could not be read.</source>
        <translation>Das Modell konnte nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Check that its disk or network folder can be reached, then try again.</source>
        <translation>Prüfen Sie, ob sein Datenträger oder Netzwerkordner erreichbar ist, und versuchen Sie es dann erneut.</translation>
    </message>
    <message>
        <source>The folder '%1' does not exist.</source>
        <translation>Der Ordner „%1“ existiert nicht.</translation>
    </message>
    <message>
        <source>Choose a folder that exists.</source>
        <translation>Wählen Sie einen vorhandenen Ordner.</translation>
    </message>
    <message>
        <source>You cannot write to the folder '%1'.</source>
        <translation>Sie können nicht in den Ordner „%1“ schreiben.</translation>
    </message>
    <message>
        <source>Choose another folder, or ask for permission to write there.</source>
        <translation>Wählen Sie einen anderen Ordner oder bitten Sie um die Berechtigung, dort zu schreiben.</translation>
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
