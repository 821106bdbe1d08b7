# bash completion for kelvane-tool. The tool itself answers what fits the
# word being typed (commands, options, choices, account and trip names of
# the data folder the line names); paths are left to the shell.
_kelvane_tool() {
    local cur=${COMP_WORDS[COMP_CWORD]}
    local IFS=$'\n'
    local found
    found=($("${COMP_WORDS[0]}" __complete -- "${COMP_WORDS[@]:1:COMP_CWORD}" 2>/dev/null))
    case "${found[0]}" in
    @FILE)
        compopt -o filenames
        COMPREPLY=($(compgen -f -- "$cur"))
        ;;
    @DIR)
        compopt -o filenames
        COMPREPLY=($(compgen -d -- "$cur"))
        ;;
    *)
        # Names with spaces ("US Gallon", "Old van") stay one word.
        local word
        COMPREPLY=()
        for word in "${found[@]}"; do
            COMPREPLY+=("$(printf '%q' "$word")")
        done
        ;;
    esac
}
complete -F _kelvane_tool kelvane-tool
