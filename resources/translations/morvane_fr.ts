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
    <name>Messages</name>
    <message>
        <source>The model could not be saved.</source>
        <translation>Le modèle n’a pas pu être enregistré.</translation>
    </message>
    <message>
        <source>Too many files are open at the moment.</source>
        <translation>Trop de fichiers sont ouverts en ce moment.</translation>
    </message>
    <message>
        <source>Close some other programs, then try again.</source>
        <translation>Fermez d’autres programmes, puis réessayez.</translation>
    </message>
    <message>
        <source>There is not enough memory to save the model.</source>
        <translation>La mémoire est insuffisante pour enregistrer le modèle.</translation>
    </message>
    <message>
        <source>The model was not saved: the trace of its rewrite could not be written.</source>
        <translation>Le modèle n’a pas été enregistré : la trace de sa réécriture n’a pas pu être écrite.</translation>
    </message>
    <message>
        <source>Check where the program's output goes, then save again.</source>
        <translation>Vérifiez où va la sortie du programme, puis enregistrez de nouveau.</translation>
    </message>
    <message>
        <source>It may have been cut short while it was copied or saved. Choose a complete copy of it.</source>
        <translation>Il a peut-être été tronqué lors d’une copie ou d’un enregistrement. Choisissez-en une copie complète.</translation>
    </message>
    <message>
        <source>Choose a copy of the model that is not damaged.</source>
        <translation>Choisissez une copie du modèle qui n’est pas endommagée.</translation>
    </message>
    <message>
        <source>This file is not a ZRM model.</source>
        <translation>Ce fichier n’est pas un modèle ZRM.</translation>
    </message>
    <message>
        <source>Choose a file that holds a ZRM model.</source>
        <translation>Choisissez un fichier qui contient un modèle ZRM.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a chunk's header.</source>
        <translation>Ce modèle est incomplet : il s’arrête au milieu de l’en-tête d’un chunk.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a %1 chunk.</source>
        <translation>Ce modèle est incomplet : il s’arrête au milieu d’un chunk %1.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a negative size.</source>
        <translation>Ce modèle est endommagé : un chunk %1 a une taille négative.</translation>
    </message>
    <message>
        <source>This model is damaged: the size of a %1 chunk is not a whole number of 4-byte words.</source>
        <translation>Ce modèle est endommagé : la taille d’un chunk %1 n’est pas un nombre entier de mots de 4 octets.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a size larger than a ZRM model can hold.</source>
        <translation>Ce modèle est endommagé : un chunk %1 indique une taille plus grande que ce qu’un modèle ZRM peut contenir.</translation>
    </message>
    <message>
        <source>This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).</source>
        <translation>Ce modèle est trop grand : réécrit, il dépasserait la taille maximale d’un modèle ZRM (2 Gio).</translation>
    </message>
    <message>
        <source>The model could not be found.</source>
        <translation>Le modèle est introuvable.</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted. Choose it again.</source>
        <translation>Il a peut-être été déplacé, renommé ou supprimé. Choisissez-le de nouveau.</translation>
    </message>
    <message>
        <source>Choose another name for the new model.</source>
        <translation>Choisissez un autre nom pour le nouveau modèle.</translation>
    </message>
    <message>
        <source>This is a folder, not a model file.</source>
        <translation>Ceci est un dossier, pas un fichier de modèle.</translation>
    </message>
    <message>
        <source>This is a device or another special file, not a model file.</source>
        <translation>Ceci est un périphérique ou un autre fichier spécial, pas un fichier de modèle.</translation>
    </message>
    <message>
        <source>Choose a ZRM model file.</source>
        <translation>Choisissez un fichier de modèle ZRM.</translation>
    </message>
    <message>
        <source>'%1' is a folder, not a file a model can be saved to.</source>
        <translation>« %1 » est un dossier, pas un fichier dans lequel un modèle peut être enregistré.</translation>
    </message>
    <message>
        <source>'%1' is a device or another special file, not a file a model can be saved to.</source>
        <translation>« %1 » est un périphérique ou un autre fichier spécial, pas un fichier dans lequel un modèle peut être enregistré.</translation>
    </message>
    <message>
        <source>The new model cannot be saved over the model it is made from.</source>
        <translation>Le nouveau modèle ne peut pas être enregistré à la place du modèle dont il est issu.</translation>
    </message>
    <message>
        <source>'%1' is read-only.</source>
        <translation>« %1 » est en lecture seule.</translation>
    </message>
    <message>
        <source>Make it writable, or choose another name for the new model.</source>
        <translation>Rendez-le modifiable, ou choisissez un autre nom pour le nouveau modèle.</translation>
    </message>
    <message>
        <source>'%1' is a link to a file that does not exist.</source>
        <translation>« %1 » est un lien vers un fichier qui n’existe pas.</translation>
    </message>
    <message>
        <source>'%1' is a link that another user made in a folder that everyone may write to.</source>
        <translation>« %1 » est un lien qu’un autre utilisateur a créé dans un dossier où tout le monde peut écrire.</translation>
    </message>
    <message>
        <source>Save the model in a folder of your own.</source>
        <translation>Enregistrez le modèle dans un dossier qui vous appartient.</translation>
    </message>
    <message>
        <source>Another program made '%1' while the model was being saved; it was left as it is.</source>
        <translation>Un autre programme a créé « %1 » pendant l’enregistrement du modèle ; ce fichier a été laissé tel quel.</translation>
    </message>
    <message>
        <source>Save again to replace it, or choose another name.</source>
        <translation>Enregistrez de nouveau pour le remplacer, ou choisissez un autre nom.</translation>
    </message>
    <message>
        <source>The model changed while it was being read.</source>
        <translation>Le modèle a changé pendant sa lecture.</translation>
    </message>
    <message>
        <source>Another program may be writing it. Wait until it has finished, then try again.</source>
        <translation>Un autre programme est peut-être en train de l’écrire. Attendez qu’il ait terminé, puis réessayez.</translation>
    </message>
    <message>
        <source>There is not enough room on the disk for the new model.</source>
        <translation>Il n’y a pas assez de place sur le disque pour le nouveau modèle.</translation>
    </message>
    <message>
        <source>Free some space, or save it on another disk.</source>
        <translation>Libérez de l’espace, ou enregistrez-le sur un autre disque.</translation>
    </message>
    <message>
        <source>The new model is larger than the system allows this program to write.</source>
        <translation>Le nouveau modèle dépasse la taille de fichier que le système permet à ce programme d’écrire.</translation>
    </message>
    <message>
        <source>Save it on another disk, or ask your administrator to raise the limit on file sizes.</source>
        <translation>Enregistrez-le sur un autre disque, ou demandez à votre administrateur de relever la limite de taille des fichiers.</translation>
    </message>
    <message>
        <source>Another program has this model open for writing.</source>
        <translation>Un autre programme a ouvert ce modèle en écriture.</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>Attendez qu’il ait terminé, puis réessayez.</translation>
    </message>
    <message>
        <source>'%1' is in use by another program.</source>
        <translation>« %1 » est utilisé par un autre programme.</translation>
    </message>
    <message>
        <source>Close it there, then save again.</source>
        <translation>Fermez-le dans ce programme, puis enregistrez de nouveau.</translation>
    </message>
    <message>
        <source>The folder '%1' is on a disk that cannot be written to.</source>
        <translation>Le dossier « %1 » se trouve sur un disque où l’on ne peut pas écrire.</translation>
    </message>
    <message>
        <source>Save the model on another disk.</source>
        <translation>Enregistrez le modèle sur un autre disque.</translation>
    </message>
    <message>
        <source>'%1' belongs to another user, and the new model cannot be given to them.</source>
        <translation>« %1 » appartient à un autre utilisateur, et le nouveau modèle ne peut pas lui être attribué.</translation>
    </message>
    <message>
        <source>The new model could not be given the permissions and attributes that '%1' has.</source>
        <translation>Le nouveau modèle n’a pas pu recevoir les autorisations et les attributs de « %1 ».</translation>
    </message>
    <message>
        <source>The new model was saved as '%1', but the system could not confirm that it is safely on the disk.</source>
        <translation>Le nouveau modèle a été enregistré sous « %1 », mais le système n’a pas pu confirmer qu’il est bien écrit sur le disque.</translation>
    </message>
    <message>
        <source>Save it again to be sure.</source>
        <translation>Enregistrez-le de nouveau pour en être sûr.</translation>
    </message>
    <message>
        <source>You do not have permission to read this model.</source>
        <translation>Vous n’avez pas l’autorisation de lire ce modèle.</translation>
    </message>
    <message>
        <source>Ask its owner for access, or choose a copy you can read.</source>
        <translation>Demandez l’accès à son propriétaire, ou choisissez une copie que vous pouvez lire.</translation>
    </message>
    <message>
        <source>The model could not be read.</source>
        <translation>Le modèle n’a pas pu être lu.</translation>
    </message>
    <message>
        <source>Check that its disk or network folder can be reached, then try again.</source>
        <translation>Vérifiez que son disque ou son dossier réseau est accessible, puis réessayez.</translation>
    </message>
    <message>
        <source>The folder '%1' does not exist.</source>
        <translation>Le dossier « %1 » n’existe pas.</translation>
    </message>
    <message>
        <source>Choose a folder that exists.</source>
        <translation>Choisissez un dossier qui existe.</translation>
    </message>
    <message>
        <source>You cannot write to the folder '%1'.</source>
        <translation>Vous ne pouvez pas écrire dans le dossier « %1 ».</translation>
    </message>
    <message>
        <source>Choose another folder, or ask for permission to write there.</source>
        <translation>Choisissez un autre dossier, ou demandez l’autorisation d’y écrire.</translation>
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
    <name>UserGuide</name>
    <message>
        <source>The user guide is missing from '%1'. Install morvane again to put it back.</source>
        <translation>Le guide de l’utilisateur est absent de « %1 ». Réinstallez morvane pour le rétablir.</translation>
    </message>
    <message>
        <source>The desktop has no program to show the user guide in. Open '%1' in a web browser.</source>
        <translation>Le bureau n’a aucun programme pour afficher le guide de l’utilisateur. Ouvrez « %1 » dans un navigateur web.</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Aide</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>À &amp;propos de morvane...</translation>
    </message>
</context>
</TS>
