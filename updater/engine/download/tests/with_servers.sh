#!/usr/bin/env bash
# Runs a test program beside its local servers: the web server of serve.py
# (HTTP and HTTPS with a throw-away test CA) and tinyproxy with basic
# authentication. Every server is ended by its process id afterwards.
# Usage: with_servers.sh [emulator] test.exe [args...]
set -uo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

work=$(mktemp -d /tmp/qxdl.XXXXXX)
pids=()
finish() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null; done
  rm -rf "$work"
}
trap finish EXIT

mkdir -p "$work/docroot"
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
http_port=${QX_FIXED_HTTP_PORT:-$(free_port)}
# Test CA and a server certificate for "localhost" (Wine matches no IP
# literals). Wine checks the server certificate's revocation, so the CA
# publishes an empty revocation list on the test web server.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Qx Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$work/ca.key" -out "$work/ca.pem" 2>/dev/null || exit 1
mkdir -p "$work/ca"; : > "$work/ca/index.txt"; echo 01 > "$work/ca/crlnumber"
cat > "$work/ca/ca.cnf" <<CNF
[ ca ]
default_ca = qx
[ qx ]
database = $work/ca/index.txt
crlnumber = $work/ca/crlnumber
default_md = sha256
default_crl_days = 2
CNF
openssl ca -config "$work/ca/ca.cnf" -gencrl -keyfile "$work/ca.key" -cert "$work/ca.pem" \
  -out "$work/ca/ca.crl.pem" 2>/dev/null || exit 1
openssl crl -in "$work/ca/ca.crl.pem" -outform DER -out "$work/docroot/qx-test-ca.crl"
openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout "$work/server.key" -out "$work/server.csr" 2>/dev/null
printf 'subjectAltName=DNS:localhost\nauthorityKeyIdentifier=keyid,issuer\nsubjectKeyIdentifier=hash\nextendedKeyUsage=serverAuth\ncrlDistributionPoints=URI:http://127.0.0.1:%s/qx-test-ca.crl\n' \
  "$http_port" > "$work/ext.cnf"
openssl x509 -req -in "$work/server.csr" -CA "$work/ca.pem" -CAkey "$work/ca.key" -CAcreateserial -days 2 \
  -extfile "$work/ext.cnf" -out "$work/server.pem" 2>/dev/null || exit 1
openssl x509 -in "$work/ca.pem" -outform DER -out "$work/ca.der"

python3 "$here/serve.py" --root "$work/docroot" --port-file "$work/ports" --port "$http_port" \
  --cert "$work/server.pem" --key "$work/server.key" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/ports" ] && break; sleep 0.1; done
[ -s "$work/ports" ] || { echo "with_servers: web server did not start" >&2; exit 1; }
read -r http https < "$work/ports"

proxy_port=$(free_port)
cat > "$work/tinyproxy.conf" <<CONF
User nobody
Group nogroup
Port $proxy_port
Listen 127.0.0.1
Timeout 60
MaxClients 50
LogLevel Critical
BasicAuth qxuser qxpass
CONF
tinyproxy -d -c "$work/tinyproxy.conf" >"$work/tinyproxy.log" 2>&1 &
pids+=($!)
for _ in $(seq 100); do
  python3 -c "import socket,sys; socket.create_connection(('127.0.0.1',$proxy_port),1)" 2>/dev/null && break
  sleep 0.1
done

winpath() { printf 'Z:%s' "$(echo "$1" | tr '/' '\\')"; }
export QX_TEST_HTTP_PORT=${http#http=} QX_TEST_HTTPS_PORT=${https#https=} QX_TEST_PROXY_PORT=$proxy_port
export QX_TEST_DOCROOT=$(winpath "$work/docroot") QX_TEST_CA=$(winpath "$work/ca.der")
export WINEDEBUG=${WINEDEBUG:--all}
"$@"
