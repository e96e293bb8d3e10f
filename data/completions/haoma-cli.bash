# SPDX-License-Identifier: MIT
# bash completion for haoma-cli
# Plain bash: the bash-completion package's helpers are used when loaded, not needed.
_haoma_cli_files() {
    if declare -F _filedir >/dev/null; then
        _filedir
    else
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
    fi
}
_haoma_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
    local words=("${COMP_WORDS[@]}") cword=$COMP_CWORD
    local commands="suggest query cities where pretty all match import"
    local common="-o --output --crlf --progress --db -V --version -h --help"
    case $prev in
        -o|--output|--segments|--db)
            _haoma_cli_files
            return ;;
        --carrier)
            COMPREPLY=($(compgen -W "any 不限 电信 联通 移动 广电" -- "$cur"))
            return ;;
        --kinds)
            COMPREPLY=($(compgen -W "all AAAA ABCD DCBA AAA ABC CBA AABB ABAB ABBA" -- "$cur"))
            return ;;
        --preset)
            COMPREPLY=($(compgen -W "aaaaa aaaaaa aaaaaaa abcde edcba aabbcc abcabc aaab abbb aabb love birthday year" -- "$cur"))
            return ;;
        --limit|--city|--province|--area-code|--contains|--without|--sample|--seed)
            return ;;
    esac
    local command="" word
    for word in "${words[@]:1:cword-1}"; do
        case $word in
            suggest|query|cities|where|pretty|all|match|import) command=$word; break ;;
        esac
    done
    local options=$common
    case $command in
        "") COMPREPLY=($(compgen -W "$commands $common" -- "$cur")); return ;;
        query) options+=" --province --area-code --carrier --all" ;;
        pretty) options+=" --kinds --limit --segments --city --carrier --contains --without --whole-number --count --sample --seed --shuffle" ;;
        all) options+=" --limit --segments --city --carrier --contains --without --whole-number --count --sample --seed --shuffle" ;;
        match) options+=" --preset --list-presets --limit --segments --city --carrier --contains --without --whole-number --count --sample --seed --shuffle" ;;
        import) options+=" --reset"; [[ $cur != -* ]] && { _haoma_cli_files; return; } ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _haoma_cli haoma-cli
