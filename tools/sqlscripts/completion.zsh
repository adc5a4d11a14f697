#compdef sqlscripts
# zsh completion for sqlscripts. The program names the commands, options and values that fit
# (sqlscripts --complete WORD...); where it names none, file names fit.
local -a candidates
candidates=(${(f)"$(${words[1]} --complete ${words[2,CURRENT-1]} "$PREFIX" 2>/dev/null)"})
if (( ${#candidates} )); then
    compadd -Q -S '' -- ${(M)candidates:#*=}
    compadd -Q -- ${candidates:#*=}
else
    _files
fi
