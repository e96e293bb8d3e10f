# SPDX-License-Identifier: MIT
# fish completion for haoma-cli
set -l commands suggest query cities where pretty all import
complete -c haoma-cli -f
complete -c haoma-cli -n "not __fish_seen_subcommand_from $commands" -a suggest -d 'city names for Chinese, pinyin or initials'
complete -c haoma-cli -n "not __fish_seen_subcommand_from $commands" -a query -d 'the segments of a city, province or area code'
complete -c haoma-cli -n "not __fish_seen_subcommand_from $commands" -a cities -d 'every city with its counts'
complete -c haoma-cli -n "not __fish_seen_subcommand_from $commands" -a where -d 'where numbers belong'
complete -c haoma-cli -n "not __fish_seen_subcommand_from $commands" -a pretty -d 'pretty numbers of the nine kinds'
complete -c haoma-cli -n "not __fish_seen_subcommand_from $commands" -a all -d 'every number of each segment'
complete -c haoma-cli -n "not __fish_seen_subcommand_from $commands" -a import -d 'replace your segment store'
complete -c haoma-cli -s o -l output -r -F -d 'write to FILE'
complete -c haoma-cli -l crlf -d 'end lines with CR LF'
complete -c haoma-cli -l progress -d 'show progress on standard error'
complete -c haoma-cli -l db -r -F -d 'use the segment store PATH'
complete -c haoma-cli -s V -l version -d 'show the version and the segment data'
complete -c haoma-cli -s h -l help -d 'show the help'
complete -c haoma-cli -n "__fish_seen_subcommand_from query pretty all" -l carrier -x -a 'any 不限 电信 联通 移动' -d carrier
complete -c haoma-cli -n "__fish_seen_subcommand_from query" -l province -x -d 'every segment of a province'
complete -c haoma-cli -n "__fish_seen_subcommand_from query" -l area-code -x -d 'every segment of an area code'
complete -c haoma-cli -n "__fish_seen_subcommand_from query" -l all -d 'every segment'
complete -c haoma-cli -n "__fish_seen_subcommand_from pretty" -l kinds -x -a 'all AAAA ABCD DCBA AAA ABC CBA AABB ABAB ABBA' -d 'pretty kinds'
complete -c haoma-cli -n "__fish_seen_subcommand_from pretty all" -l limit -x -d 'stop after N numbers'
complete -c haoma-cli -n "__fish_seen_subcommand_from pretty all" -l segments -r -F -d 'segment file'
complete -c haoma-cli -n "__fish_seen_subcommand_from pretty all" -l city -x -d 'segments of a city'
complete -c haoma-cli -n "__fish_seen_subcommand_from import" -l reset -d 'use the installed store again'
complete -c haoma-cli -n "__fish_seen_subcommand_from import" -F
