#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Inside a clean root (run by installed_package.sh through scripts/lib/in-root): installs the
# package with apt, starts the program by its menu entry's command and waits for it to end, then
# purges the package with what apt installed for it, and lists what is left that was not there
# before. WORK (shared with the caller) gets "started" once the program is being started, and the
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
left=$(LC_ALL=C comm -13 "$work/before" "$work/after")
if [ -n "$left" ]; then
    echo "FAIL: apt purge left behind:"
    echo "$left"
    exit 1
fi
[ "$(dpkg-query -W -f='${Status}' vorrel 2>/dev/null || true)" = "" ] \
    || { echo "FAIL: dpkg still knows vorrel: $(dpkg-query -W -f='${Status}' vorrel)"; exit 1; }
echo "purged: nothing of it left, nor of the $(( $(dpkg-query -W -f='${Package}\n' | wc -l) - before )) packages it brought"
