# fish completion for varnel-cli, installed in fish/vendor_completions.d.

# The formats of the program's table of records, in the order --help lists them.
set -l formats lines csv table chpasswd json

complete -c varnel-cli -s n -l count -x -d 'Make N passwords'
complete -c varnel-cli -s l -l length -x -d 'Characters per password, words with -s words'
complete -c varnel-cli -s s -l style -x -a 'numeric alphabetic alphanumeric symbols words' -d 'What passwords are made of'
complete -c varnel-cli -s c -l case -x -a 'upper lower mixed' -d 'Case of the letters'
complete -c varnel-cli -l wordlist -r -F -a 'large short' -d 'Words of -s words'
complete -c varnel-cli -l separator -x -d 'Text between the words'
complete -c varnel-cli -l capitalize -d 'Each word with a capital'
complete -c varnel-cli -l number -d 'A digit after one of the words'
complete -c varnel-cli -l rules -x -d "Passwords made to a site's rules"
complete -c varnel-cli -s u -l usernames -x -a 'random numbered none' -d 'Kind of usernames'
complete -c varnel-cli -l prefix -x -d 'Text numbered usernames start with'
complete -c varnel-cli -l digits -x -d 'Digits of numbered usernames'
complete -c varnel-cli -l start -x -d 'Number numbered usernames count from'
complete -c varnel-cli -s f -l names -r -F -d 'A password for every name of a file'
complete -c varnel-cli -s F -l format -x -a "$formats" -d 'Form of the records'
complete -c varnel-cli -s o -l output -r -F -d 'Write the records to a file'
complete -c varnel-cli -l force -d 'Replace files that exist'
complete -c varnel-cli -l hash -x -a 'yescrypt sha512crypt' -d 'Hash the passwords in the records'
complete -c varnel-cli -l hash-cost -x -d "libxcrypt's cost for the hashes"
complete -c varnel-cli -l plain -r -F -d 'The plain passwords as a table'
complete -c varnel-cli -l slips -r -F -d 'A PDF of slips to hand over'
complete -c varnel-cli -l title -x -d 'A line at the top of every slip'
complete -c varnel-cli -l paper -x -a 'a4 letter' -d 'The slips paper'
complete -c varnel-cli -l exclude -x -d 'Characters to leave out'
complete -c varnel-cli -l exclude-similar -d 'Leave out the look-alikes 0, O, 1, l and I'
complete -c varnel-cli -l every-class -d 'A character of every class in each password'
complete -c varnel-cli -l entropy -d 'Print the strength first'
complete -c varnel-cli -s h -l help -d 'Show the help'
complete -c varnel-cli -s V -l version -d 'Show the version'
