# Print plug-in tests: a private CUPS daemon with a PDF queue (cups-pdf),
# started and stopped by the tests themselves; ghostscript makes its PDF files.
inkplate_packages=(cups printer-driver-cups-pdf ghostscript)
inkplate_missing=()
for inkplate_p in "${inkplate_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$inkplate_p" 2>/dev/null | grep -q 'install ok installed' \
    || inkplate_missing+=("$inkplate_p")
done
if [ ${#inkplate_missing[@]} -gt 0 ]; then
  log "installing for the print plug-in: ${inkplate_missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${inkplate_missing[@]}"
fi
# cups-pdf reads the settings of queue URI cups-pdf:/inkplate from this file;
# its output directory is only settable here.
if [ ! -f /etc/cups/cups-pdf-inkplate.conf ]; then
  log "adding the cups-pdf settings of the print plug-in tests"
  printf '%s\n' 'Out /var/spool/cups-pdf/inkplate' 'Label 2' 'LogType 1' > /etc/cups/cups-pdf-inkplate.conf
fi
mkdir -p /var/spool/cups-pdf/inkplate
unset inkplate_packages inkplate_missing inkplate_p
