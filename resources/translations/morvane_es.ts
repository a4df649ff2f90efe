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
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>&amp;Acerca de morvane...</translation>
    </message>
</context>
</TS>
