# Shrinker tests: Wine maps narrow Japanese file names to Unix names through
# the ja_JP.UTF-8 locale, which must therefore exist on the machine.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if ! command -v localedef >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends locales
  fi
  log "generating the ja_JP.UTF-8 locale"
  localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
fi
