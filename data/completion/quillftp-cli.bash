# bash completion for quillftp-cli: commands, options, site:CLASS/NAME of the site book, and
# local paths.

_quillftp_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=""
    ((COMP_CWORD > 0)) && prev=${COMP_WORDS[COMP_CWORD - 1]}
    # bash splits "site:Work/x" at the colon: the word is taken whole again.
    if [[ $cur == : ]]; then
        cur="$prev:"
    elif [[ $prev == : && COMP_CWORD -gt 1 ]]; then
        cur="${COMP_WORDS[COMP_CWORD - 2]}:$cur"
    fi
    local option_before=""
    ((COMP_CWORD > 0)) && option_before=${COMP_WORDS[COMP_CWORD - 1]}

    case $option_before in
        --data-dir)
            COMPREPLY=($(compgen -d -- "$cur"))
            return
            ;;
        --netrc-file | --plan | --apply)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
        -n | --connections | --split-size | --retries | --timeout | --limit-rate | --proxy | --proxy-type | \
            --proxy-user | --proxy-pass | --socks4 | --socks4a | --socks5 | --socks-user | --socks-pass | \
            --tls | --trust)
            [[ $option_before == --tls ]] && COMPREPLY=($(compgen -W "auto require implicit off" -- "$cur"))
            return
            ;;
    esac

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "--connections --split-size --background --active --passive --no-pipelining
            --proxy --proxy-type --proxy-user --proxy-pass --socks4 --socks4a --socks5 --socks-user --socks-pass
            --retries --limit-rate --timeout --overwrite --skip --log --quiet --long --recursive --failed --csv
            --data-dir --tls --trust --netrc-file --password-stdin --json --up --down --both --delete --dry-run
            --by-hash --plan --apply --version --help" -- "$cur"))
        return
    fi

    # The command is the first word that is no option or option value.
    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            -n | --connections | --split-size | --retries | --timeout | --limit-rate | --proxy | --proxy-type | \
                --proxy-user | --proxy-pass | --socks4 | --socks4a | --socks5 | --socks-user | --socks-pass | \
                --tls | --trust | --data-dir | --netrc-file | --plan | --apply)
                ((i++))
                ;;
            -*) ;;
            *)
                command=${COMP_WORDS[i]}
                break
                ;;
        esac
    done
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "ls get put mkdir rm rmdir mv chmod broken resume history sites sync" -- "$cur"))
        return
    fi

    if [[ $cur == s* ]]; then
        local data_dir=()
        for ((i = 1; i < COMP_CWORD - 1; i++)); do
            [[ ${COMP_WORDS[i]} == --data-dir ]] && data_dir=(--data-dir "${COMP_WORDS[i + 1]}")
        done
        local site candidates=()
        while IFS= read -r site; do
            candidates+=("$(printf '%q' "$site/")")
        done < <(quillftp-cli "${data_dir[@]}" sites 2>/dev/null)
        local candidate
        COMPREPLY=()
        for candidate in "${candidates[@]}"; do
            [[ $candidate == "$cur"* ]] && COMPREPLY+=("$candidate")
        done
        if ((${#COMPREPLY[@]} > 0)); then
            # What bash replaces is the part after the last colon.
            if [[ $COMP_WORDBREAKS == *:* && $cur == *:* ]]; then
                local colon_prefix=${cur%"${cur##*:}"}
                for i in "${!COMPREPLY[@]}"; do
                    COMPREPLY[i]=${COMPREPLY[i]#"$colon_prefix"}
                done
            fi
            compopt -o nospace 2>/dev/null
            return
        fi
    fi
    COMPREPLY=($(compgen -f -- "$cur"))
    compopt -o filenames 2>/dev/null
}

complete -F _quillftp_cli quillftp-cli
