# Shrinker tests: Wine maps narrow Japanese file names to Unix names through
# the ja_JP.UTF-8 locale, which must therefore exist on the machine.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if ! command -v localedef >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends locales
  fi
  log "generating the ja_JP.UTF-8 locale"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
# Shrinker benchmarks: their peer tools (ImageMagick 6, libvips' vipsthumbnail,
# libjpeg-turbo's djpeg) side by side with the shrinker.
shrinker_packages=(imagemagick-6.q16 libvips-tools libjpeg-turbo-progs)
shrinker_missing=()
for shrinker_p in "${shrinker_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$shrinker_p" 2>/dev/null | grep -q 'install ok installed' \
    || shrinker_missing+=("$shrinker_p")
done
if [ ${#shrinker_missing[@]} -gt 0 ]; then
  log "installing for the shrinker benchmarks: ${shrinker_missing[*]}"
  apt-get update -q
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${shrinker_missing[@]}"
fi
unset shrinker_packages shrinker_missing shrinker_p
