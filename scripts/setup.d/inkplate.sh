# Print plug-in tests: a private CUPS daemon with a PDF queue (cups-pdf),
# started and stopped by the tests themselves, and pdftotext to read the result.
inkplate_packages=(cups-daemon cups-client printer-driver-cups-pdf ghostscript poppler-utils)
inkplate_missing=()
for p in "${inkplate_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || inkplate_missing+=("$p")
done
if [ ${#inkplate_missing[@]} -gt 0 ]; then
  log "installing for the print plug-in: ${inkplate_missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${inkplate_missing[@]}"
fi
unset inkplate_packages inkplate_missing p
