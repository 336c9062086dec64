# The files an install puts under its prefix, for the install round trip and the package check.
set(installed_files
    bin/varnel
    bin/varnel-cli
    lib/varnel/varnel-slips.so
    share/applications/org.example.varnel.desktop
    share/bash-completion/completions/varnel-cli
    share/doc/varnel/changelog.gz
    share/doc/varnel/copyright
    share/doc/varnel/readme.txt
    share/fish/vendor_completions.d/varnel-cli.fish
    share/icons/hicolor/16x16/apps/varnel.png
    share/icons/hicolor/32x32/apps/varnel.png
    share/icons/hicolor/48x48/apps/varnel.png
    share/icons/hicolor/64x64/apps/varnel.png
    share/icons/hicolor/128x128/apps/varnel.png
    share/icons/hicolor/256x256/apps/varnel.png
    share/icons/hicolor/scalable/apps/varnel.svg
    share/man/man1/varnel-cli.1.gz
    share/man/man1/varnel.1.gz
    share/metainfo/org.example.varnel.metainfo.xml
    share/zsh/vendor-completions/_varnel-cli)
list(SORT installed_files)
