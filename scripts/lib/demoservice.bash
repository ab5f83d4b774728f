# Sourced by the scripts that run the store against the demo service on this machine.
# Needs $bin (the built programs) and $demo (where everything is written).

# Builds the service folder (sample apps, signed, packed, with feeds and a signed catalog),
# serves it over HTTPS on 127.0.0.1 and lays out a store bundle configured for it. Sets
# $port, $server (the serving process), $store and $ctl (the tesselctl inside the bundle),
# and makes the store trust the demo's private HTTPS authority.
start_demo_service() {
    mkdir -p "$demo"
    # A port nobody answers on.
    port=47110
    while (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; do port=$((port + 1)); done

    "$bin/tessel-service" build-demo --from demo --keys "$demo/keys" --base-url "https://127.0.0.1:$port/" \
        --demo-app "$bin/tessel-demo-app" "$demo/service" >"$demo/trust.txt" 2>"$demo/build.log" \
        || fail "building the service failed: $(cat "$demo/build.log")"
    [ -f "$demo/tls/ca.pem" ] || "$bin/tessel-service" make-tls-cert --out "$demo/tls"

    "$bin/tessel-service" serve --root "$demo/service" --port "$port" \
        --cert "$demo/tls/server.pem" --key "$demo/tls/server-key.pem" >"$demo/serve.log" 2>&1 &
    server=$!
    for _ in $(seq 50); do grep -q '^serving' "$demo/serve.log" && break; sleep 0.1; done
    grep -q '^serving' "$demo/serve.log" || fail "the service did not start: $(cat "$demo/serve.log")"

    # The store bundle: the tools inside it read its Info.plist, as the store itself does. It is
    # code-signed by the demo's chain, so that its own updater starts and trusts only the
    # demo team's releases.
    store="$demo/TesselStore.app"
    rm -rf "$store"
    mkdir -p "$store/Contents/MacOS"
    cp "$bin/tesselctl" "$bin/tessel-store" "$store/Contents/MacOS/"
    write_store_info "$store" 0.1 1
    sign_demo_bundle "$store"
    publish_newer_store
    ctl="$store/Contents/MacOS/tesselctl"
    # The store trusts the demo's private certificate authority through this variable only.
    export TESSEL_EXTRA_CA_CERTIFICATES="$demo/tls/ca.pem"
}

# The store's Info.plist, configured for the demo service and its own feed there: bundle,
# version, build.
write_store_info() {
    cat >"$1/Contents/Info.plist" <<PLIST
<?xml version="1.0" encoding="UTF-8"?>
<!DOCTYPE plist PUBLIC "-//Apple//DTD PLIST 1.0//EN" "http://www.apple.com/DTDs/PropertyList-1.0.dtd">
<plist version="1.0">
<dict>
	<key>CFBundleIdentifier</key><string>com.orvel.tessel-store</string>
	<key>CFBundleExecutable</key><string>tessel-store</string>
	<key>CFBundleName</key><string>Tessel Store</string>
	<key>CFBundleShortVersionString</key><string>$2</string>
	<key>CFBundleVersion</key><string>$3</string>
	<key>TesselServiceURL</key><string>https://127.0.0.1:$port/</string>
	<key>TesselServiceIssuer</key><string>$(demo_trust issuer)</string>
	<key>TesselServiceKeyID</key><string>$(demo_trust key-id)</string>
	<key>TesselServicePublicKey</key><string>$(demo_trust public-key)</string>
	<key>TesselCodeSigningAnchors</key><array><string>$(demo_trust anchor)</string></array>
	<key>SUFeedURL</key><string>https://127.0.0.1:$port/store/appcast.xml</string>
	<key>SUPublicEDKey</key><string>$(demo_trust archive-key)</string>
</dict>
</plist>
PLIST
}

sign_demo_bundle() {
    "$bin/tessel-service" sign-bundle --cert "$demo/keys/signing.pem" --key "$demo/keys/signing-key.pem" \
        --chain "$demo/keys/intermediate.pem" "$1" >/dev/null || fail "signing $1 failed"
}

# A newer store (0.2, build 2: the same programs, signed and packed as the maker would) and
# its feed on the demo service, so that the store can show updating itself.
publish_newer_store() {
    local staging="$demo/store-release"
    rm -rf "$staging" "$demo/service/store"
    mkdir -p "$staging" "$demo/service/store"
    cp -a "$store" "$staging/"
    write_store_info "$staging/TesselStore.app" 0.2 2
    sign_demo_bundle "$staging/TesselStore.app"
    (cd "$staging" && bsdtar --format zip -cf "$demo/service/store/TesselStore-0.2.zip" TesselStore.app)
    "$bin/tessel-service" make-appcast --dir "$demo/service/store" --base-url "https://127.0.0.1:$port/store/" \
        --key "$demo/keys/archive-key.pem" --title "Tessel Store" >"$demo/service/store/appcast.xml" \
        || fail "the store's feed could not be written"
    rm -rf "$staging"
}

# What building the service printed for the store to trust (issuer, key-id, public-key, anchor).
demo_trust() {
    awk -F'\t' -v key="$1" '$1 == key {print $2}' "$demo/trust.txt"
}

# A machine of the demo's own, emptied: home, XDG folders, temporary folder (under $1 when
# given) and Applications folder, all exported. Sets $applications.
use_demo_machine() {
    local temporary="${1:-$demo/tmp}"
    rm -rf "$demo/home" "$demo/Applications" "$demo/share" "$temporary"
    export HOME="$demo/home" XDG_DATA_HOME="$demo/home/.local/share" XDG_CACHE_HOME="$demo/home/.cache" \
        XDG_CONFIG_HOME="$demo/home/.config" XDG_DATA_DIRS="$demo/share" TMPDIR="$temporary" \
        TESSEL_SYSTEM_APPLICATIONS="$demo/Applications"
    mkdir -p "$HOME" "$TMPDIR" "$TESSEL_SYSTEM_APPLICATIONS"
    applications="$TESSEL_SYSTEM_APPLICATIONS"
}
