# bash completion for sqlscripts. The program names the commands, options and values that fit
# (sqlscripts --complete WORD...), so options added to it complete without a change here.
_sqlscripts() {
    local line=${COMP_LINE:0:COMP_POINT}
    local -a words
    read -ra words <<<"$line"
    [[ -z $line || $line == *[[:space:]] ]] && words+=("")
    # bash ends its word at '=' and ':' too; the program answers for the whole word, so what bash left
    # out of it is cut from each answer.
    local cut=${words[-1]%"${COMP_WORDS[COMP_CWORD]}"}
    local candidate
    COMPREPLY=()
    while IFS= read -r candidate; do
        COMPREPLY+=("${candidate#"$cut"}")
    done < <("${COMP_WORDS[0]}" --complete "${words[@]:1}" 2>/dev/null)
    # A category of --file wants its file name right after the '='.
    [[ ${COMPREPLY[0]-} == *= ]] && compopt -o nospace
    return 0
}
complete -o default -F _sqlscripts sqlscripts
