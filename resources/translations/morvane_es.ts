<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>AboutBox</name>
    <message>
        <source>morvane Version 1.0</source>
        <translation>morvane versión 1.0</translation>
    </message>
    <message>
        <source>(C) 2026 the morvane authors</source>
        <translation>(C) 2026 los autores de morvane</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
    <message>
        <source>About morvane</source>
        <translation>Acerca de morvane</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>ZRM Files (*.zrm)</source>
        <translation>Archivos ZRM (*.zrm)</translation>
    </message>
    <message>
        <source>The folder of %1 does not exist.</source>
        <translation>La carpeta de %1 no existe.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>morvane works on one model at a time. These were not opened:</source>
        <translation>morvane trabaja con un solo modelo a la vez. Estos no se abrieron:</translation>
    </message>
    <message>
        <source>It was too late to cancel: the model has been written to '%1'.</source>
        <translation>Era demasiado tarde para cancelar: el modelo se ha escrito en «%1».</translation>
    </message>
    <message>
        <source>'%1' already carries a block of %2 collision volumes: it has been rewritten before.

Saving it adds a second block to every PRIM chunk. Save anyway?</source>
        <translation>«%1» ya lleva un bloque de %2 volúmenes de colisión: ya se reescribió antes.

Al guardarlo se añade un segundo bloque a cada chunk PRIM. ¿Guardar de todos modos?</translation>
    </message>
    <message>
        <source>Choose ZRM file to load</source>
        <translation>Elegir el archivo ZRM que cargar</translation>
    </message>
    <message>
        <source>Choose a ZRM model to read first (step 1).</source>
        <translation>Elija primero un modelo ZRM que leer (paso 1).</translation>
    </message>
    <message>
        <source>Choose ZRM name to save as</source>
        <translation>Elegir el nombre ZRM con el que guardar</translation>
    </message>
    <message>
        <source>ZRM chosen: '%1'</source>
        <translation>ZRM elegido: «%1»</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>Introduzca un número entero.</translation>
    </message>
    <message>
        <source>Please enter a whole number from %1 to %2.</source>
        <translation>Introduzca un número entero de %1 a %2.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Salir</translation>
    </message>
    <message>
        <source>Choose ZRM...</source>
        <translation>Elegir ZRM...</translation>
    </message>
    <message>
        <source>Number of collision volumes:</source>
        <translation>Número de volúmenes de colisión:</translation>
    </message>
    <message>
        <source>Chosen model</source>
        <translation>Modelo elegido</translation>
    </message>
    <message>
        <source>Save ZRM...</source>
        <translation>Guardar ZRM...</translation>
    </message>
</context>
<context>
    <name>Messages</name>
    <message>
        <source>The model could not be saved.</source>
        <translation>No se pudo guardar el modelo.</translation>
    </message>
    <message>
        <source>Too many files are open at the moment.</source>
        <translation>Hay demasiados archivos abiertos en este momento.</translation>
    </message>
    <message>
        <source>Close some other programs, then try again.</source>
        <translation>Cierre algunos otros programas y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>There is not enough memory to save the model.</source>
        <translation>No hay memoria suficiente para guardar el modelo.</translation>
    </message>
    <message>
        <source>The model was not saved: the trace of its rewrite could not be written.</source>
        <translation>El modelo no se guardó: no se pudo escribir la traza de su reescritura.</translation>
    </message>
    <message>
        <source>Check where the program's output goes, then save again.</source>
        <translation>Compruebe adónde va la salida del programa y vuelva a guardar.</translation>
    </message>
    <message>
        <source>It may have been cut short while it was copied or saved. Choose a complete copy of it.</source>
        <translation>Puede que se cortara al copiarlo o guardarlo. Elija una copia completa.</translation>
    </message>
    <message>
        <source>Choose a copy of the model that is not damaged.</source>
        <translation>Elija una copia del modelo que no esté dañada.</translation>
    </message>
    <message>
        <source>This file is not a ZRM model.</source>
        <translation>Este archivo no es un modelo ZRM.</translation>
    </message>
    <message>
        <source>Choose a file that holds a ZRM model.</source>
        <translation>Elija un archivo que contenga un modelo ZRM.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a chunk's header.</source>
        <translation>Este modelo está incompleto: termina en medio de la cabecera de un chunk.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a %1 chunk.</source>
        <translation>Este modelo está incompleto: termina en medio de un chunk %1.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a negative size.</source>
        <translation>Este modelo está dañado: un chunk %1 tiene un tamaño negativo.</translation>
    </message>
    <message>
        <source>This model is damaged: the size of a %1 chunk is not a whole number of 4-byte words.</source>
        <translation>Este modelo está dañado: el tamaño de un chunk %1 no es un número entero de palabras de 4 bytes.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a size larger than a ZRM model can hold.</source>
        <translation>Este modelo está dañado: un chunk %1 indica un tamaño mayor del que puede contener un modelo ZRM.</translation>
    </message>
    <message>
        <source>This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).</source>
        <translation>Este modelo es demasiado grande: reescrito, superaría el tamaño máximo de un modelo ZRM (2 GiB).</translation>
    </message>
    <message>
        <source>The model could not be found.</source>
        <translation>No se encontró el modelo.</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted. Choose it again.</source>
        <translation>Puede que se haya movido, cambiado de nombre o eliminado. Vuelva a elegirlo.</translation>
    </message>
    <message>
        <source>Choose another name for the new model.</source>
        <translation>Elija otro nombre para el nuevo modelo.</translation>
    </message>
    <message>
        <source>This is a folder, not a model file.</source>
        <translation>Esto es una carpeta, no un archivo de modelo.</translation>
    </message>
    <message>
        <source>This is a device or another special file, not a model file.</source>
        <translation>Esto es un dispositivo u otro archivo especial, no un archivo de modelo.</translation>
    </message>
    <message>
        <source>Choose a ZRM model file.</source>
        <translation>Elija un archivo de modelo ZRM.</translation>
    </message>
    <message>
        <source>'%1' is a folder, not a file a model can be saved to.</source>
        <translation>«%1» es una carpeta, no un archivo en el que se pueda guardar un modelo.</translation>
    </message>
    <message>
        <source>'%1' is a device or another special file, not a file a model can be saved to.</source>
        <translation>«%1» es un dispositivo u otro archivo especial, no un archivo en el que se pueda guardar un modelo.</translation>
    </message>
    <message>
        <source>The new model cannot be saved over the model it is made from.</source>
        <translation>El nuevo modelo no se puede guardar sobre el modelo a partir del cual se crea.</translation>
    </message>
    <message>
        <source>'%1' is read-only.</source>
        <translation>«%1» es de solo lectura.</translation>
    </message>
    <message>
        <source>Make it writable, or choose another name for the new model.</source>
        <translation>Permita la escritura en él o elija otro nombre para el nuevo modelo.</translation>
    </message>
    <message>
        <source>'%1' is a link to a file that does not exist.</source>
        <translation>«%1» es un enlace a un archivo que no existe.</translation>
    </message>
    <message>
        <source>'%1' is a link that another user made in a folder that everyone may write to.</source>
        <translation>«%1» es un enlace que otro usuario creó en una carpeta en la que todos pueden escribir.</translation>
    </message>
    <message>
        <source>Save the model in a folder of your own.</source>
        <translation>Guarde el modelo en una carpeta propia.</translation>
    </message>
    <message>
        <source>Another program made '%1' while the model was being saved; it was left as it is.</source>
        <translation>Otro programa creó «%1» mientras se guardaba el modelo; se ha dejado como estaba.</translation>
    </message>
    <message>
        <source>Save again to replace it, or choose another name.</source>
        <translation>Vuelva a guardar para reemplazarlo o elija otro nombre.</translation>
    </message>
    <message>
        <source>The model changed while it was being read.</source>
        <translation>El modelo cambió mientras se leía.</translation>
    </message>
    <message>
        <source>Another program may be writing it. Wait until it has finished, then try again.</source>
        <translation>Puede que otro programa lo esté escribiendo. Espere a que termine y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>There is not enough room on the disk for the new model.</source>
        <translation>No hay espacio suficiente en el disco para el nuevo modelo.</translation>
    </message>
    <message>
        <source>Free some space, or save it on another disk.</source>
        <translation>Libere espacio o guárdelo en otro disco.</translation>
    </message>
    <message>
        <source>The new model is larger than the system allows this program to write.</source>
        <translation>El nuevo modelo es más grande de lo que el sistema permite escribir a este programa.</translation>
    </message>
    <message>
        <source>Save it on another disk, or ask your administrator to raise the limit on file sizes.</source>
        <translation>Guárdelo en otro disco o pida a su administrador que aumente el límite de tamaño de los archivos.</translation>
    </message>
    <message>
        <source>Another program has this model open for writing.</source>
        <translation>Otro programa tiene este modelo abierto para escritura.</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>Espere a que termine y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>'%1' is in use by another program.</source>
        <translation>«%1» está en uso por otro programa.</translation>
    </message>
    <message>
        <source>Close it there, then save again.</source>
        <translation>Ciérrelo en ese programa y vuelva a guardar.</translation>
    </message>
    <message>
        <source>The folder '%1' is on a disk that cannot be written to.</source>
        <translation>La carpeta «%1» está en un disco en el que no se puede escribir.</translation>
    </message>
    <message>
        <source>Save the model on another disk.</source>
        <translation>Guarde el modelo en otro disco.</translation>
    </message>
    <message>
        <source>'%1' belongs to another user, and the new model cannot be given to them.</source>
        <translation>«%1» pertenece a otro usuario y el nuevo modelo no se le puede asignar.</translation>
    </message>
    <message>
        <source>The new model could not be given the permissions and attributes that '%1' has.</source>
        <translation>No se pudieron dar al nuevo modelo los permisos y atributos que tiene «%1».</translation>
    </message>
    <message>
        <source>The new model was saved as '%1', but the system could not confirm that it is safely on the disk.</source>
        <translation>El nuevo modelo se guardó como «%1», pero el sistema no pudo confirmar que esté guardado de forma segura en el disco.</translation>
    </message>
    <message>
        <source>Save it again to be sure.</source>
        <translation>Vuelva a guardarlo para asegurarse.</translation>
    </message>
    <message>
        <source>You do not have permission to read this model.</source>
        <translation>No tiene permiso para leer este modelo.</translation>
    </message>
    <message>
        <source>Ask its owner for access, or choose a copy you can read.</source>
        <translation>Pida acceso a su propietario o elija una copia que pueda leer.</translation>
    </message>
    <message>
        <source>The model could not be read.</source>
        <translation>No se pudo leer el modelo.</translation>
    </message>
    <message>
        <source>Check that its disk or network folder can be reached, then try again.</source>
        <translation>Compruebe que se puede acceder a su disco o carpeta de red y vuelva a intentarlo.</translation>
    </message>
    <message>
        <source>The folder '%1' does not exist.</source>
        <translation>La carpeta «%1» no existe.</translation>
    </message>
    <message>
        <source>Choose a folder that exists.</source>
        <translation>Elija una carpeta que exista.</translation>
    </message>
    <message>
        <source>You cannot write to the folder '%1'.</source>
        <translation>No puede escribir en la carpeta «%1».</translation>
    </message>
    <message>
        <source>Choose another folder, or ask for permission to write there.</source>
        <translation>Elija otra carpeta o pida permiso para escribir en ella.</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing '%1'...</source>
        <translation>Escribiendo «%1»...</translation>
    </message>
    <message>
        <source>Cancelling...</source>
        <translation>Cancelando...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancelar</translation>
    </message>
</context>
<context>
    <name>UserGuide</name>
    <message>
        <source>The user guide is missing from '%1'. Install morvane again to put it back.</source>
        <translation>Falta la guía del usuario en «%1». Vuelva a instalar morvane para recuperarla.</translation>
    </message>
    <message>
        <source>The desktop has no program to show the user guide in. Open '%1' in a web browser.</source>
        <translation>El escritorio no tiene ningún programa para mostrar la guía del usuario. Abra «%1» en un navegador web.</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>&amp;Acerca de morvane...</translation>
    </message>
</context>
</TS>
