# fish completion for quorvanectl. quorvanectl itself says what fits the word being typed
# (quorvanectl __complete WORD...), so commands, options and names are always those of the
# program that is installed.

function __quorvanectl_complete
    set -l words (commandline -opc)
    # The word as quorvanectl reads it: without the backslashes and the opening quote typed.
    set -l typed (string replace -a '\\' '' -- (commandline -ct) | string trim -l -c '"\'')
    for line in (command $words[1] __complete $words[2..-1] "$typed" 2>/dev/null)
        if test "$line" = ":files"
            __fish_complete_path "$typed"
        else
            printf '%s\n' $line
        end
    end
end

complete -c quorvanectl -f -a '(__quorvanectl_complete)'
