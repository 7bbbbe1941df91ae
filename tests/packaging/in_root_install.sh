#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Inside a clean root (run by installed_package.sh through scripts/lib/in-root): installs the
# package with apt, starts the program by its menu entry's command and waits for it to end, then
# purges the package with what apt installed for it, and fails on anything of it that is left.
# WORK (shared with the caller) gets "started" once the program is being started, and the
# program's exit status in "status".
# Usage: in_root_install.sh FILE WORK
set -euo pipefail
deb=$1 work=$2
export DEBIAN_FRONTEND=noninteractive
# Every file and folder of the system, but apt's and dpkg's own records, caches, logs and home.
snapshot() {
    find / -xdev \( -path /var/lib/apt -o -path /var/lib/dpkg -o -path /var/cache -o -path /var/log \
                    -o -path /root -o -path /run \) -prune -o -print | LC_ALL=C sort
}
snapshot >"$work/before"
before=$(dpkg-query -W -f='${Package}\n' | wc -l)
apt-get update -qq >"$work/apt.log" 2>&1
apt-get install -y -qq "$deb" >>"$work/apt.log" 2>&1 || { tail -20 "$work/apt.log"; exit 1; }
echo "installed: $(dpkg-query -W -f='${Package} ${Version} ${Architecture}' vorrel)," \
     "$(( $(dpkg-query -W -f='${Package}\n' | wc -l) - before )) packages in all"
dpkg -L vorrel >"$work/files"
# The command of the menu entry, as a desktop starts it: field codes (%f, %U, ...) dropped.
command=$(sed -n 's/^Exec=//p' /usr/share/applications/org.vorrel.Designer.desktop | sed 's/ *%[A-Za-z]//g')
echo "menu entry's command: $command"
touch "$work/started"
status=0
sh -c "$command" >"$work/program.log" 2>&1 || status=$?
echo "$status" >"$work/status"
apt-get purge -y -qq --autoremove vorrel >>"$work/apt.log" 2>&1 || { tail -20 "$work/apt.log"; exit 1; }
snapshot >"$work/after"
new=$(LC_ALL=C comm -13 "$work/before" "$work/after")
# Nothing of the program: none of its files, nothing named after it. What the packages it brought
# leave as system state once purged (/etc/machine-id from systemd, say) is only counted.
left=$(LC_ALL=C comm -12 <(LC_ALL=C sort "$work/files") <(printf '%s\n' "$new"))
left+=$(grep -i vorrel <<<"$new" || true)
if [ -n "$left" ]; then
    echo "FAIL: apt purge left behind:"
    echo "$left"
    exit 1
fi
[ -z "$new" ] || echo "left by the packages it brought, not of it: $(wc -l <<<"$new") paths ($(head -3 <<<"$new" | xargs))"
[ "$(dpkg-query -W -f='${Status}' vorrel 2>/dev/null || true)" = "" ] \
    || { echo "FAIL: dpkg still knows vorrel: $(dpkg-query -W -f='${Status}' vorrel)"; exit 1; }
echo "purged: nothing of it left; packages beyond the clean system: $(( $(dpkg-query -W -f='${Package}\n' | wc -l) - before ))"
