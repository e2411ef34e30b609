#!/usr/bin/env bash
# Runs a command beside the loopback servers of the Windows tests: the web
# server of serve.py (HTTP, HTTPS with a throw-away test CA, HTTPS with a CA
# nobody trusts, FTP over the same files) and tinyproxy with basic
# authentication. The command finds them through QX_TEST_* variables
# (QX_TEST_DOCROOT_UNIX: the document root as a Unix path). Every server is
# ended by its process id afterwards.
# Usage: with_servers.sh command [args...]
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
# The certificate tools write only to this log; a failure shows it.
log="$work/openssl.log"
fail() { echo "with_servers: $1" >&2; cat "$log" >&2 2>/dev/null; exit 1; }
free_port() { python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])'; }
http_port=${QX_FIXED_HTTP_PORT:-$(free_port)}
# Test CA and a server certificate for "localhost" (Wine matches no IP
# literals). The test program trusts the CA in the Wine prefix for the run.
# Wine 8.0 asks for no revocation check, Windows can: so the CA publishes an
# empty revocation list on the test web server.
openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 2 -subj "/CN=Qx Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$work/ca.key" -out "$work/ca.pem" 2>>"$log" || fail "test CA not made"
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
  -out "$work/ca/ca.crl.pem" 2>>"$log" || fail "revocation list not made"
openssl crl -in "$work/ca/ca.crl.pem" -outform DER -out "$work/docroot/qx-test-ca.crl"
printf 'subjectAltName=DNS:localhost\nauthorityKeyIdentifier=keyid,issuer\nsubjectKeyIdentifier=hash\nextendedKeyUsage=serverAuth\ncrlDistributionPoints=URI:http://127.0.0.1:%s/qx-test-ca.crl\n' \
  "$http_port" > "$work/ext.cnf"
server_cert() {  # name, CA name, extension file
  openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout "$work/$1.key" -out "$work/$1.csr" 2>>"$log" &&
  openssl x509 -req -sha256 -in "$work/$1.csr" -CA "$work/$2.pem" -CAkey "$work/$2.key" -CAcreateserial -days 2 \
    -extfile "$3" -out "$work/$1.pem" 2>>"$log"
}
server_cert server ca "$work/ext.cnf" || fail "server certificate not made"
openssl x509 -in "$work/ca.pem" -outform DER -out "$work/ca.der"
# A second server shows a certificate of a CA that is never trusted. It sends
# that CA along, so the client sees an unknown root, not a missing issuer.
openssl req -x509 -newkey rsa:2048 -sha256 -nodes -days 2 -subj "/CN=Qx Untrusted CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout "$work/rogue-ca.key" -out "$work/rogue-ca.pem" 2>>"$log" || fail "untrusted CA not made"
printf 'subjectAltName=DNS:localhost\nauthorityKeyIdentifier=keyid,issuer\nextendedKeyUsage=serverAuth\n' > "$work/rogue-ext.cnf"
server_cert rogue rogue-ca "$work/rogue-ext.cnf" || fail "untrusted server certificate not made"
cat "$work/rogue-ca.pem" >> "$work/rogue.pem"

python3 "$here/serve.py" --root "$work/docroot" --port-file "$work/ports" --port "$http_port" \
  --cert "$work/server.pem" --key "$work/server.key" --untrusted-cert "$work/rogue.pem" --untrusted-key "$work/rogue.key" &
pids+=($!)
for _ in $(seq 100); do [ -s "$work/ports" ] && break; sleep 0.1; done
[ -s "$work/ports" ] || { echo "with_servers: web server did not start" >&2; exit 1; }
read -r http https untrusted ftp < "$work/ports"

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
export QX_TEST_HTTP_PORT=${http#http=} QX_TEST_HTTPS_PORT=${https#https=} QX_TEST_UNTRUSTED_PORT=${untrusted#untrusted=}
export QX_TEST_FTP_PORT=${ftp#ftp=}
export QX_TEST_PROXY_PORT=$proxy_port
export QX_TEST_DOCROOT=$(winpath "$work/docroot") QX_TEST_CA=$(winpath "$work/ca.der")
export QX_TEST_DOCROOT_UNIX=$work/docroot
export WINEDEBUG=${WINEDEBUG:--all}
"$@"
