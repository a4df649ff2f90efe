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
    <name>Messages</name>
    <message>
        <source>The model could not be saved.</source>
        <translation>Não foi possível salvar o modelo.</translation>
    </message>
    <message>
        <source>Too many files are open at the moment.</source>
        <translation>Há arquivos demais abertos no momento.</translation>
    </message>
    <message>
        <source>Close some other programs, then try again.</source>
        <translation>Feche alguns outros programas e tente novamente.</translation>
    </message>
    <message>
        <source>There is not enough memory to save the model.</source>
        <translation>Não há memória suficiente para salvar o modelo.</translation>
    </message>
    <message>
        <source>The model was not saved: the trace of its rewrite could not be written.</source>
        <translation>O modelo não foi salvo: não foi possível gravar o registro da sua regravação.</translation>
    </message>
    <message>
        <source>Check where the program's output goes, then save again.</source>
        <translation>Verifique para onde vai a saída do programa e salve novamente.</translation>
    </message>
    <message>
        <source>It may have been cut short while it was copied or saved. Choose a complete copy of it.</source>
        <translation>Ele pode ter sido cortado ao ser copiado ou salvo. Escolha uma cópia completa dele.</translation>
    </message>
    <message>
        <source>Choose a copy of the model that is not damaged.</source>
        <translation>Escolha uma cópia do modelo que não esteja danificada.</translation>
    </message>
    <message>
        <source>This file is not a ZRM model.</source>
        <translation>Este arquivo não é um modelo ZRM.</translation>
    </message>
    <message>
        <source>Choose a file that holds a ZRM model.</source>
        <translation>Escolha um arquivo que contenha um modelo ZRM.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a chunk's header.</source>
        <translation>Este modelo está incompleto: ele termina no meio do cabeçalho de um chunk.</translation>
    </message>
    <message>
        <source>This model is incomplete: it ends inside a %1 chunk.</source>
        <translation>Este modelo está incompleto: ele termina no meio de um chunk %1.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a negative size.</source>
        <translation>Este modelo está danificado: um chunk %1 tem tamanho negativo.</translation>
    </message>
    <message>
        <source>This model is damaged: the size of a %1 chunk is not a whole number of 4-byte words.</source>
        <translation>Este modelo está danificado: o tamanho de um chunk %1 não é um número inteiro de palavras de 4 bytes.</translation>
    </message>
    <message>
        <source>This model is damaged: a %1 chunk has a size larger than a ZRM model can hold.</source>
        <translation>Este modelo está danificado: um chunk %1 indica um tamanho maior do que um modelo ZRM pode conter.</translation>
    </message>
    <message>
        <source>This model is too large: rewritten, it would be larger than a ZRM model can be (2 GiB).</source>
        <translation>Este modelo é grande demais: regravado, ele ultrapassaria o tamanho máximo de um modelo ZRM (2 GiB).</translation>
    </message>
    <message>
        <source>The model could not be found.</source>
        <translation>O modelo não foi encontrado.</translation>
    </message>
    <message>
        <source>It may have been moved, renamed or deleted. Choose it again.</source>
        <translation>Ele pode ter sido movido, renomeado ou excluído. Escolha-o novamente.</translation>
    </message>
    <message>
        <source>Choose another name for the new model.</source>
        <translation>Escolha outro nome para o novo modelo.</translation>
    </message>
    <message>
        <source>This is a folder, not a model file.</source>
        <translation>Isto é uma pasta, não um arquivo de modelo.</translation>
    </message>
    <message>
        <source>This is a device or another special file, not a model file.</source>
        <translation>Isto é um dispositivo ou outro arquivo especial, não um arquivo de modelo.</translation>
    </message>
    <message>
        <source>Choose a ZRM model file.</source>
        <translation>Escolha um arquivo de modelo ZRM.</translation>
    </message>
    <message>
        <source>'%1' is a folder, not a file a model can be saved to.</source>
        <translation>“%1” é uma pasta, não um arquivo em que um modelo possa ser salvo.</translation>
    </message>
    <message>
        <source>'%1' is a device or another special file, not a file a model can be saved to.</source>
        <translation>“%1” é um dispositivo ou outro arquivo especial, não um arquivo em que um modelo possa ser salvo.</translation>
    </message>
    <message>
        <source>The new model cannot be saved over the model it is made from.</source>
        <translation>O novo modelo não pode ser salvo sobre o modelo a partir do qual é feito.</translation>
    </message>
    <message>
        <source>'%1' is read-only.</source>
        <translation>“%1” é somente leitura.</translation>
    </message>
    <message>
        <source>Make it writable, or choose another name for the new model.</source>
        <translation>Permita a gravação nele ou escolha outro nome para o novo modelo.</translation>
    </message>
    <message>
        <source>'%1' is a link to a file that does not exist.</source>
        <translation>“%1” é um link para um arquivo que não existe.</translation>
    </message>
    <message>
        <source>'%1' is a link that another user made in a folder that everyone may write to.</source>
        <translation>“%1” é um link que outro usuário criou em uma pasta na qual todos podem gravar.</translation>
    </message>
    <message>
        <source>Save the model in a folder of your own.</source>
        <translation>Salve o modelo em uma pasta sua.</translation>
    </message>
    <message>
        <source>Another program made '%1' while the model was being saved; it was left as it is.</source>
        <translation>Outro programa criou “%1” enquanto o modelo era salvo; ele foi deixado como estava.</translation>
    </message>
    <message>
        <source>Save again to replace it, or choose another name.</source>
        <translation>Salve novamente para substituí-lo ou escolha outro nome.</translation>
    </message>
    <message>
        <source>The model changed while it was being read.</source>
        <translation>O modelo foi alterado enquanto era lido.</translation>
    </message>
    <message>
        <source>Another program may be writing it. Wait until it has finished, then try again.</source>
        <translation>Outro programa pode estar gravando nele. Aguarde até que ele termine e tente novamente.</translation>
    </message>
    <message>
        <source>There is not enough room on the disk for the new model.</source>
        <translation>Não há espaço suficiente no disco para o novo modelo.</translation>
    </message>
    <message>
        <source>Free some space, or save it on another disk.</source>
        <translation>Libere espaço ou salve-o em outro disco.</translation>
    </message>
    <message>
        <source>The new model is larger than the system allows this program to write.</source>
        <translation>O novo modelo é maior do que o sistema permite que este programa grave.</translation>
    </message>
    <message>
        <source>Save it on another disk, or ask your administrator to raise the limit on file sizes.</source>
        <translation>Salve-o em outro disco ou peça ao seu administrador para aumentar o limite de tamanho de arquivos.</translation>
    </message>
    <message>
        <source>Another program has this model open for writing.</source>
        <translation>Outro programa está com este modelo aberto para gravação.</translation>
    </message>
    <message>
        <source>Wait until it has finished, then try again.</source>
        <translation>Aguarde até que ele termine e tente novamente.</translation>
    </message>
    <message>
        <source>'%1' is in use by another program.</source>
        <translation>“%1” está em uso por outro programa.</translation>
    </message>
    <message>
        <source>Close it there, then save again.</source>
        <translation>Feche-o nesse programa e salve novamente.</translation>
    </message>
    <message>
        <source>The folder '%1' is on a disk that cannot be written to.</source>
        <translation>A pasta “%1” está em um disco no qual não é possível gravar.</translation>
    </message>
    <message>
        <source>Save the model on another disk.</source>
        <translation>Salve o modelo em outro disco.</translation>
    </message>
    <message>
        <source>'%1' belongs to another user, and the new model cannot be given to them.</source>
        <translation>“%1” pertence a outro usuário, e o novo modelo não pode ser atribuído a ele.</translation>
    </message>
    <message>
        <source>The new model could not be given the permissions and attributes that '%1' has.</source>
        <translation>Não foi possível dar ao novo modelo as permissões e os atributos que “%1” tem.</translation>
    </message>
    <message>
        <source>The new model was saved as '%1', but the system could not confirm that it is safely on the disk.</source>
        <translation>O novo modelo foi salvo como “%1”, mas o sistema não conseguiu confirmar que ele está gravado com segurança no disco.</translation>
    </message>
    <message>
        <source>Save it again to be sure.</source>
        <translation>Salve-o novamente para ter certeza.</translation>
    </message>
    <message>
        <source>You do not have permission to read this model.</source>
        <translation>Você não tem permissão para ler este modelo.</translation>
    </message>
    <message>
        <source>Ask its owner for access, or choose a copy you can read.</source>
        <translation>Peça acesso ao proprietário ou escolha uma cópia que você possa ler.</translation>
    </message>
    <message>
        <source>The model could not be read.</source>
        <translation>Não foi possível ler o modelo.</translation>
    </message>
    <message>
        <source>Check that its disk or network folder can be reached, then try again.</source>
        <translation>Verifique se o disco ou a pasta de rede dele está acessível e tente novamente.</translation>
    </message>
    <message>
        <source>The folder '%1' does not exist.</source>
        <translation>A pasta “%1” não existe.</translation>
    </message>
    <message>
        <source>Choose a folder that exists.</source>
        <translation>Escolha uma pasta que exista.</translation>
    </message>
    <message>
        <source>You cannot write to the folder '%1'.</source>
        <translation>Você não pode gravar na pasta “%1”.</translation>
    </message>
    <message>
        <source>Choose another folder, or ask for permission to write there.</source>
        <translation>Escolha outra pasta ou peça permissão para gravar nela.</translation>
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
    <name>UserGuide</name>
    <message>
        <source>The user guide is missing from '%1'. Install morvane again to put it back.</source>
        <translation>O guia do usuário não está em “%1”. Instale o morvane novamente para recuperá-lo.</translation>
    </message>
    <message>
        <source>The desktop has no program to show the user guide in. Open '%1' in a web browser.</source>
        <translation>A área de trabalho não tem um programa para exibir o guia do usuário. Abra “%1” em um navegador da web.</translation>
    </message>
</context>
<context>
    <name>WindowMenu</name>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Ajuda</translation>
    </message>
    <message>
        <source>&amp;About morvane...</source>
        <translation>&amp;Sobre o morvane...</translation>
    </message>
</context>
</TS>
