# Test prerequisites of the update engine: tinyproxy for the proxy
# authentication tests, curl as the benchmark's peer. Sourced by setup.sh.
updater_engine_packages=(tinyproxy curl openssl)
updater_engine_missing=()
for p in "${updater_engine_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || updater_engine_missing+=("$p")
done
if [ ${#updater_engine_missing[@]} -gt 0 ]; then
  log "installing for the update engine tests: ${updater_engine_missing[*]}"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${updater_engine_missing[@]}"
fi
# The package's own service is not wanted: the tests start their own instance.
if command -v systemctl >/dev/null 2>&1 && systemctl is-active --quiet tinyproxy 2>/dev/null; then
  systemctl stop tinyproxy || true
  systemctl disable tinyproxy >/dev/null 2>&1 || true
fi
unset updater_engine_packages updater_engine_missing p
