#!/usr/bin/env bash
# The newusers records of a class list, given to a real newusers in a private mount namespace over a copy of
# /etc and /home: every account is created, and each password verifies against the new /etc/shadow.
# Usage: newusers_check.sh VARNEL_CLI WORK_FOLDER
set -euo pipefail
cli=$1
work=$2

if [ "$(id -u)" -ne 0 ] || [ ! -x /usr/sbin/newusers ] || ! unshare -m true 2>/dev/null; then
    echo "newusers needs root and a mount namespace; skipped"
    exit 77
fi
rm -rf "$work" && mkdir -p "$work/home"
cp -a /etc "$work/etc"
printf '\xef\xbb\xbfFirst name;Last name\r\nZo\xc3\xab;\xc3\x85ngstr\xc3\xb6m\r\nAnna;Berg\r\nAnna;Berg\r\nSe\xc3\xa1n;O'"'"'Brien\r\n' \
    >"$work/roster.csv"
"$cli" --roster "$work/roster.csv" -F newusers -s symbols -o "$work/accounts.txt"

unshare -m bash -euo pipefail -c '
    work=$1
    mount --bind "$work/etc" /etc
    mount --bind "$work/home" /home
    newusers "$work/accounts.txt"
    cp /etc/shadow /etc/passwd "$work/"
' check "$work"

/usr/bin/python3 - "$work" <<'PY'
import crypt, sys, warnings
work = sys.argv[1]
warnings.simplefilter("ignore")
shadow = {l.split(":")[0]: l.split(":")[1] for l in open(f"{work}/shadow", encoding="utf-8")}
passwd = {l.split(":")[0]: l.split(":") for l in open(f"{work}/passwd", encoding="utf-8")}
records = [l.rstrip("\n").split(":") for l in open(f"{work}/accounts.txt", encoding="utf-8")]
names = [r[0] for r in records]
assert names == ["zoe.angstrom", "anna.berg", "anna.berg2", "sean.obrien"], names
for login, password, *_ in records:
    assert login in passwd, f"{login} was not created"
    assert crypt.crypt(password, shadow[login]) == shadow[login], f"the password of {login} does not verify"
    assert passwd[login][5] == f"/home/{login}", passwd[login]
assert passwd["zoe.angstrom"][4] == "Zoë Ångström", passwd["zoe.angstrom"]
print(f"{len(records)} accounts created, every password verifies")
PY
