<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
<context>
    <name>AboutBox</name>
    <message>
        <source>morvane Version 1.0</source>
        <translation>morvane version 1.0</translation>
    </message>
    <message>
        <source>(C) 2026 the morvane authors</source>
        <translation>(C) 2026 les auteurs de morvane</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About morvane</source>
        <translation>À propos de morvane</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>ZRM Files (*.zrm)</source>
        <translation>Fichiers ZRM (*.zrm)</translation>
    </message>
    <message>
        <source>The folder of %1 does not exist.</source>
        <translation>Le dossier de %1 n’existe pas.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>morvane works on one model at a time. These were not opened:</source>
        <translation>morvane traite un seul modèle à la fois. Ceux-ci n’ont pas été ouverts :</translation>
    </message>
    <message>
        <source>It was too late to cancel: the model has been written to '%1'.</source>
        <translation>Il était trop tard pour annuler : le modèle a été écrit dans « %1 ».</translation>
    </message>
    <message>
        <source>'%1' already carries a block of %2 collision volumes: it has been rewritten before.

Saving it adds a second block to every PRIM chunk. Save anyway?</source>
        <translation>« %1 » porte déjà un bloc de %2 volumes de collision : il a déjà été réécrit.

L’enregistrer ajoute un second bloc à chaque chunk PRIM. Enregistrer quand même ?</translation>
    </message>
    <message>
        <source>Choose ZRM file to load</source>
        <translation>Choisir le fichier ZRM à charger</translation>
    </message>
    <message>
        <source>Choose a ZRM model to read first (step 1).</source>
        <translation>Choisissez d’abord un modèle ZRM à lire (étape 1).</translation>
    </message>
    <message>
        <source>Choose ZRM name to save as</source>
        <translation>Choisir le nom ZRM sous lequel enregistrer</translation>
    </message>
    <message>
        <source>ZRM chosen: '%1'</source>
        <translation>ZRM choisi : « %1 »</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>Veuillez saisir un nombre entier.</translation>
    </message>
    <message>
        <source>Please enter a whole number from %1 to %2.</source>
        <translation>Veuillez saisir un nombre entier de %1 à %2.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quitter</translation>
    </message>
    <message>
        <source>Choose ZRM...</source>
        <translation>Choisir un ZRM...</translation>
    </message>
    <message>
        <source>Number of collision volumes:</source>
        <translation>Nombre de volumes de collision :</translation>
    </message>
    <message>
        <source>Chosen model</source>
        <translation>Modèle choisi</translation>
    </message>
    <message>
        <source>Save ZRM...</source>
        <translation>Enregistrer le ZRM...</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing '%1'...</source>
        <translation>Écriture de « %1 »...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Annulation...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Annuler</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>À &amp;propos de morvane...</translation>
    </message>
</context>
</TS>
