# bash completion for quorvanectl. quorvanectl itself says what fits the word being typed
# (quorvanectl __complete WORD...), so commands, options, key, media, function, effect and
# macro names are always those of the program that is installed.

_quorvanectl() {
    local cur words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n =: || return
    else
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
        cur=${words[cword]}
    fi
    # The word as quorvanectl reads it: without the backslashes and the opening quote typed.
    local typed=${cur//\\/}
    typed=${typed#[\"\']}
    local line
    COMPREPLY=()
    while IFS= read -r line; do
        if [[ $line == :files ]]; then
            local file
            while IFS= read -r file; do COMPREPLY+=("$(printf '%q' "$file")"); done < <(compgen -f -- "$typed")
            compopt -o filenames 2>/dev/null
        else
            COMPREPLY+=("$(printf '%q' "$line")")
        fi
    done < <("${words[0]}" __complete "${words[@]:1:cword-1}" "$typed" 2>/dev/null)
}
complete -F _quorvanectl quorvanectl
