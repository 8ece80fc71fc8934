# bash completion for quorvanectl: commands, their options, key, media and function names.
# Key names are offered without their spaces ("CapsLock"), which quorvanectl reads the same;
# names made of shell characters (quotes, backslash) are left out, compgen would expand them.

_quorvanectl_names() {
    quorvanectl names "$1" 2>/dev/null | tr -d ' ' | grep -E '^[[:alnum:]._+*/=,-]+$'
}

_quorvanectl() {
    local cur prev words cword
    _init_completion 2>/dev/null || {
        cur=${COMP_WORDS[COMP_CWORD]}
        prev=${COMP_WORDS[COMP_CWORD-1]}
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
    }
    local commands="info profile paths keys key macro export import validate show lighting keycolours names"
    if [[ $cword -eq 1 ]]; then
        COMPREPLY=($(compgen -W "$commands --help" -- "$cur"))
        return
    fi
    local command=${words[1]}
    case $prev in
        --profile) COMPREPLY=($(compgen -W "1 2 3" -- "$cur")); return ;;
        --bank) COMPREPLY=($(compgen -W "A B" -- "$cur")); return ;;
        --to) COMPREPLY=($(compgen -W "$(_quorvanectl_names keys)" -- "$cur")); return ;;
        --media) COMPREPLY=($(compgen -W "$(_quorvanectl_names media)" -- "$cur")); return ;;
        --function) COMPREPLY=($(compgen -W "$(_quorvanectl_names functions)" -- "$cur")); return ;;
        --direction) COMPREPLY=($(compgen -W "first second" -- "$cur")); return ;;
        --colourful) COMPREPLY=($(compgen -W "on off" -- "$cur")); return ;;
        --macro|--steps|--type|--pause|--repeat|--effect|--brightness|--speed|--colour|--colour-choice|--report-rate|--mode)
            return ;;
    esac
    case $command in
        key)
            if [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W "--profile --bank --to --disable --macro --repeat --stop-macro --media --function --default --help" -- "$cur"))
            else
                COMPREPLY=($(compgen -W "$(_quorvanectl_names remappable)" -- "$cur"))
            fi ;;
        keys) COMPREPLY=($(compgen -W "--profile --json --all --help" -- "$cur")) ;;
        macro)
            if [[ $cword -eq 2 ]]; then
                COMPREPLY=($(compgen -W "list show add remove rename" -- "$cur"))
            else
                case ${words[2]} in
                    list) COMPREPLY=($(compgen -W "--json" -- "$cur")) ;;
                    show) COMPREPLY=($(compgen -W "--json" -- "$cur")) ;;
                    add) COMPREPLY=($(compgen -W "--steps --type --pause --repeat --replace" -- "$cur")) ;;
                    remove) COMPREPLY=($(compgen -W "--force" -- "$cur")) ;;
                esac
            fi ;;
        profile) COMPREPLY=($(compgen -W "1 2 3" -- "$cur")) ;;
        export) COMPREPLY=($(compgen -W "--json" -- "$cur") $(compgen -f -- "$cur")) ;;
        import|validate) COMPREPLY=($(compgen -f -- "$cur")) ;;
        show) COMPREPLY=($(compgen -W "--json" -- "$cur") $(compgen -f -- "$cur")) ;;
        lighting) COMPREPLY=($(compgen -W "--profile --json --defaults --effect --brightness --speed --direction --colour --colourful --colour-choice --report-rate" -- "$cur")) ;;
        keycolours) COMPREPLY=($(compgen -W "--profile --mode" -- "$cur")) ;;
        names) COMPREPLY=($(compgen -W "keys remappable media functions" -- "$cur")) ;;
    esac
}
complete -F _quorvanectl quorvanectl
