#!/usr/bin/env bash
# Makes the certificates the TLS tests serve, into OUTDIR:
#   ca.crt             the test authority that the tests trust
#   localhost.*        for localhost and 127.0.0.1, issued by it
#   wrong-host.*       for wrong.example only, issued by it
#   expired.*          for localhost and 127.0.0.1, valid in January 2020 only
#   unknown-issuer.*   for localhost and 127.0.0.1, issued by an authority nobody trusts
#
#   make-test-certificates.sh OUTDIR
set -euo pipefail

out=$1
mkdir -p "$out"
cd "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

new_key() { openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$1" 2>/dev/null; }
# Authorities sign with RSA: wine's certificate store drops a root whose ECDSA
# self-signature has an r or s shorter than 32 bytes (about one in a hundred
# keys), so that a test trusting it through Windows' store failed now and then.
new_authority_key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1" 2>/dev/null; }

# authority NAME SUBJECT: a self-signed authority valid for a century.
authority() {
    new_authority_key "$work/$1.key"
    openssl req -x509 -new -key "$work/$1.key" -out "$work/$1.crt" -days 36500 -subj "/CN=$2" \
        -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
    mkdir -p "$work/$1.db"
    : > "$work/$1.db/index.txt"
    cat > "$work/$1.cnf" <<CNF
[ca]
default_ca = this
[this]
database = $work/$1.db/index.txt
new_certs_dir = $work/$1.db
rand_serial = yes
default_md = sha256
policy = any
copy_extensions = copy
unique_subject = no
[any]
commonName = supplied
CNF
}

# issue AUTHORITY NAME SUBJECT_ALT_NAMES DATE_OPTIONS...
issue() {
    local authority=$1 name=$2 names=$3
    shift 3
    new_key "$name.key"
    openssl req -new -key "$name.key" -out "$work/$name.csr" -subj "/CN=$name" \
        -addext "subjectAltName=$names" -addext "extendedKeyUsage=serverAuth"
    openssl ca -batch -notext -config "$work/$authority.cnf" -cert "$work/$authority.crt" \
        -keyfile "$work/$authority.key" -in "$work/$name.csr" -out "$name.crt" "$@" 2>/dev/null
}

authority test "Brenvoth Test CA"
authority stranger "Nobody's CA"
cp "$work/test.crt" ca.crt
century=(-days 36500)
issue test localhost "DNS:localhost,IP:127.0.0.1" "${century[@]}"
issue test wrong-host "DNS:wrong.example" "${century[@]}"
issue test expired "DNS:localhost,IP:127.0.0.1" -startdate 20200101000000Z -enddate 20200201000000Z
issue stranger unknown-issuer "DNS:localhost,IP:127.0.0.1" "${century[@]}"
