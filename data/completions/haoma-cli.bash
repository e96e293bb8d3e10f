# SPDX-License-Identifier: MIT
# bash completion for haoma-cli
_haoma_cli() {
    local cur prev words cword
    _init_completion || return
    local commands="suggest query cities where pretty all match import"
    local common="-o --output --crlf --progress --db -V --version -h --help"
    case $prev in
        -o|--output|--segments|--db)
            _filedir
            return ;;
        --carrier)
            COMPREPLY=($(compgen -W "any 不限 电信 联通 移动" -- "$cur"))
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
        pretty) options+=" --kinds --limit --segments --city --carrier --contains --without --count --sample --seed --shuffle" ;;
        all) options+=" --limit --segments --city --carrier --contains --without --count --sample --seed --shuffle" ;;
        match) options+=" --preset --list-presets --limit --segments --city --carrier --contains --without --count --sample --seed --shuffle" ;;
        import) options+=" --reset"; [[ $cur != -* ]] && { _filedir; return; } ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _haoma_cli haoma-cli
