# bash completion for varnel-cli                             -*- shell-script -*-
# Installed as bash-completion/completions/varnel-cli; needs the bash-completion package's helpers.

_varnel_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    # The formats of the program's table of records, in the order --help lists them.
    local formats='lines csv table chpasswd json newusers google entra moodle ldif'

    case $prev in
        -s | --style)
            COMPREPLY=($(compgen -W 'numeric alphabetic alphanumeric symbols words' -- "$cur"))
            return
            ;;
        -c | --case)
            COMPREPLY=($(compgen -W 'upper lower mixed' -- "$cur"))
            return
            ;;
        -u | --usernames)
            COMPREPLY=($(compgen -W 'random numbered none' -- "$cur"))
            return
            ;;
        -F | --format)
            COMPREPLY=($(compgen -W "$formats" -- "$cur"))
            return
            ;;
        --hash)
            COMPREPLY=($(compgen -W 'yescrypt sha512crypt' -- "$cur"))
            return
            ;;
        --paper)
            COMPREPLY=($(compgen -W 'a4 letter' -- "$cur"))
            return
            ;;
        --wordlist)
            COMPREPLY=($(compgen -W 'large short' -- "$cur"))
            _filedir
            return
            ;;
        --per-page)
            COMPREPLY=($(compgen -W '10 6 4' -- "$cur"))
            return
            ;;
        -f | --names | -o | --output | --plain | --roster)
            _filedir
            return
            ;;
        --slips)
            _filedir pdf
            return
            ;;
        -n | --count | -l | --length | --separator | --rules | --prefix | --digits | --start | --hash-cost | \
            --title | --exclude | --login | --domain | --org-unit | --base-dn | --note)
            return
            ;;
    esac
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W '--count --length --style --case --wordlist --separator --capitalize --number
            --rules --usernames --prefix --digits --start --names --format --output --force
            --allow-system-accounts --hash --hash-cost --plain --slips --title --paper --exclude
            --exclude-similar --every-class --entropy --help --version --roster --login --domain --org-unit
            --base-dn --note --per-page' -- "$cur"))
    fi
} &&
    complete -F _varnel_cli varnel-cli
