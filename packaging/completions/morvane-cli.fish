# fish completion for morvane-cli, installed in fish's vendor_completions.d.

# The names fish's own file completion offers for the current word, less an
# option it follows (--directory=DIR), which fish puts back.
function __morvane_cli_files
    set -l word (commandline -ct | string replace -r -- '^--[a-z-]+=' '')
    complete -C "__morvane_cli_no_such_command $word"
end

# The folders and the .zrm files, in any case.
function __morvane_cli_models
    set -l names (__morvane_cli_files)
    string match -i -- '*.zrm' $names
    string match -- '*/' $names
end

complete -c morvane-cli -f
complete -c morvane-cli -a '(__morvane_cli_models)'

complete -c morvane-cli -s n -l volumes -x -d 'Add N collision volumes (1 to 1000)'
complete -c morvane-cli -s d -l directory -x -a '(__morvane_cli_files | string match -- "*/")' \
    -d 'Write each model into DIR under its own name'
complete -c morvane-cli -s i -l in-place -d 'Rewrite each model into its own name'
# The suffix is attached (--backup=SUFFIX) and the user's to choose.
complete -c morvane-cli -l backup -d 'With -i, keep each model as NAME+SUFFIX (.bak)'
complete -c morvane-cli -s r -l recursive -d 'A folder stands for every model under it'
complete -c morvane-cli -l files-from -r -F -d 'Read more models from FILE (- for stdin)'
complete -c morvane-cli -s 0 -l null -d 'The --files-from names end with NUL'
complete -c morvane-cli -l dry-run -d 'Check everything, write nothing'
complete -c morvane-cli -s q -l quiet -d 'Print no trace'
complete -c morvane-cli -l skip-rewritten -d 'Leave out models that carry a block'
complete -c morvane-cli -l list -d 'List the chunks of each model'
complete -c morvane-cli -l json -d 'Print JSON on standard output'
complete -c morvane-cli -s h -l help -d 'Print the help and exit'
complete -c morvane-cli -l version -d 'Print the version and exit'
