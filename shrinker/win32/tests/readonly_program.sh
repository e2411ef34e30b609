#!/usr/bin/env bash
# A folder holding the program and its settings that nobody can write to.
#   readonly_program.sh make FOLDER PROGRAM   |   readonly_program.sh remove FOLDER
# chattr's immutable flag holds against root too; where the file system has
# no such flag the folder stays writable and the test that needs it says so.
set -u
action=$1 folder=$2
if [ -d "$folder" ]; then
  chattr -i "$folder" "$folder"/* 2>/dev/null
  rm -rf "$folder"
fi
[ "$action" = make ] || exit 0
mkdir -p "$folder" && cp "$3" "$folder/Vantilo.exe" || exit 1
printf '[option]\r\nparcent=55\r\n' > "$folder/Vantilo.ini"
chattr +i "$folder/Vantilo.ini" "$folder" 2>/dev/null || echo "no immutable flag here: $folder stays writable"
exit 0
