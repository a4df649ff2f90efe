<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
<context>
    <name>AboutBox</name>
    <message>
        <source>morvane Version 1.0</source>
        <translation>morvane versão 1.0</translation>
    </message>
    <message>
        <source>(C) 2026 the morvane authors</source>
        <translation>(C) 2026 os autores do morvane</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>About morvane</source>
        <translation>Sobre o morvane</translation>
    </message>
</context>
<context>
    <name>FileChooser</name>
    <message>
        <source>ZRM Files (*.zrm)</source>
        <translation>Arquivos ZRM (*.zrm)</translation>
    </message>
    <message>
        <source>The folder of %1 does not exist.</source>
        <translation>A pasta de %1 não existe.</translation>
    </message>
</context>
<context>
    <name>MainWindow</name>
    <message>
        <source>morvane works on one model at a time. These were not opened:</source>
        <translation>O morvane trabalha com um modelo por vez. Estes não foram abertos:</translation>
    </message>
    <message>
        <source>It was too late to cancel: the model has been written to '%1'.</source>
        <translation>Era tarde demais para cancelar: o modelo foi gravado em “%1”.</translation>
    </message>
    <message>
        <source>'%1' already carries a block of %2 collision volumes: it has been rewritten before.

Saving it adds a second block to every PRIM chunk. Save anyway?</source>
        <translation>“%1” já contém um bloco de %2 volumes de colisão: ele já foi regravado antes.

Salvá-lo adiciona um segundo bloco a cada chunk PRIM. Salvar mesmo assim?</translation>
    </message>
    <message>
        <source>Choose ZRM file to load</source>
        <translation>Escolher o arquivo ZRM a carregar</translation>
    </message>
    <message>
        <source>Choose a ZRM model to read first (step 1).</source>
        <translation>Escolha primeiro um modelo ZRM para ler (passo 1).</translation>
    </message>
    <message>
        <source>Choose ZRM name to save as</source>
        <translation>Escolher o nome ZRM com que salvar</translation>
    </message>
    <message>
        <source>ZRM chosen: '%1'</source>
        <translation>ZRM escolhido: “%1”</translation>
    </message>
    <message>
        <source>Please enter a whole number.</source>
        <translation>Digite um número inteiro.</translation>
    </message>
    <message>
        <source>Please enter a whole number from %1 to %2.</source>
        <translation>Digite um número inteiro de %1 a %2.</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Sair</translation>
    </message>
    <message>
        <source>Choose ZRM...</source>
        <translation>Escolher ZRM...</translation>
    </message>
    <message>
        <source>Number of collision volumes:</source>
        <translation>Número de volumes de colisão:</translation>
    </message>
    <message>
        <source>Chosen model</source>
        <translation>Modelo escolhido</translation>
    </message>
    <message>
        <source>Save ZRM...</source>
        <translation>Salvar ZRM...</translation>
    </message>
</context>
<context>
    <name>Progress</name>
    <message>
        <source>Writing '%1'...</source>
        <translation>Gravando “%1”...</translation>
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
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>&amp;Sobre o morvane...</translation>
    </message>
</context>
</TS>
