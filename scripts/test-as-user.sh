#!/usr/bin/env bash
# Runs every test executable of a build once as an unprivileged user (root's run skips the cases about
# refused permissions, which root passes through). Run it as root: ./scripts/test-as-user.sh [build] [user].
# The build may sit where that user cannot go, so the test executables, the programs they run (with the module
# they load) and the icon files they compare with are copied to a scratch folder of the user's own first; each
# run gets a home and runtime folder of its own.
# Fails if a test fails or skips a case.
set -euo pipefail

build=$(cd "${1:-build}" && pwd)
user=${2:-nobody}
if [ "$(id -u)" -ne 0 ]; then
    echo "test-as-user: run this as root; it runs the tests as $user" >&2
    exit 2
fi

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && find tests -type f -perm -u+x -name 'tst_*' -exec cp --parents {} "$scratch" \;)
(cd "$build" && cp --parents cli/varnel-cli tests/cli/no_getrandom tests/cli/no_tmpfile "$scratch")
# The slips module, where the program looks for it from its own folder.
(cd "$build" && cp -r --parents lib "$scratch")
[ -d "$build/icons" ] && cp -r "$build/icons" "$scratch/"
chown -R "$user" "$scratch"

failed=()
skipped=()
for test in $(cd "$scratch" && find tests -type f -name 'tst_*' | sort); do
    name=$(basename "$test")
    home="$scratch/home-$name"
    runuser -u "$user" -- mkdir -m 0700 "$home" "$home/runtime"
    # Files root plants for the user in a folder anyone may write to (tests/support/HostileFolder.h).
    hostile="$home/hostile"
    mkdir -m 1777 "$hostile" "$hostile/planted"
    chown "$user" "$hostile" "$hostile/planted"
    printf 'TOOLTIPS=no\n' >"$hostile/victim"
    chmod 0600 "$hostile/victim"
    chown "$user" "$hostile/victim"
    ln -s victim "$hostile/vrn.ini"
    ln -s victim "$hostile/readme.txt"
    printf 'TOOLTIPS=no\n' >"$hostile/planted/vrn.ini"
    printf 'planted\n' >"$hostile/planted/out.csv"
    printf 'planted\n' >"$hostile/planted/readme.txt"
    chmod 0666 "$hostile/planted/vrn.ini" "$hostile/planted/out.csv" "$hostile/planted/readme.txt"
    mkfifo -m 0666 "$hostile/planted/pipe.csv"
    ln -s pipe.csv "$hostile/planted/link.csv"
    log="$scratch/$name.log"
    if ! (cd "$home" && runuser -u "$user" -- env -i PATH=/usr/bin:/bin HOME="$home" \
        XDG_RUNTIME_DIR="$home/runtime" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
        XDG_DATA_HOME="$home/.local/share" QT_QPA_PLATFORM=offscreen LANG=C.UTF-8 VARNEL_HOSTILE_FOLDER="$hostile" \
        "$scratch/$test" >"$log" 2>&1); then
        failed+=("$name")
        cat "$log"
    fi
    if grep -q '^SKIP' "$log"; then
        skipped+=("$name")
        grep -A1 '^SKIP' "$log"
    fi
    grep '^Totals' "$log" | sed "s/^/$name as $user: /"
done

if [ ${#failed[@]} -gt 0 ] || [ ${#skipped[@]} -gt 0 ]; then
    echo "As $user, failed: ${failed[*]:-none}; skipped cases in: ${skipped[*]:-none}" >&2
    exit 1
fi
