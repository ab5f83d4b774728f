// An HTTP/2 server over TLS for a folder, each answer held back by a fixed delay: a maker's
// one host (its server or a CDN) answering many feeds and downloads at once.
// Usage: node http2-host.mjs CERTIFICATE KEY FOLDER DELAY_MS
// Prints the port it listens on (127.0.0.1); when its standard input closes it prints how
// many connections came, how many requests, and the most it held at once, then exits.
import fs from 'node:fs';
import http2 from 'node:http2';
import path from 'node:path';

const [certificate, key, folder, delay] = process.argv.slice(2);
const root = path.resolve(folder);
// nginx's and most CDNs' limit is of this order; a client must not exceed it.
const server = http2.createSecureServer({
    cert: fs.readFileSync(certificate),
    key: fs.readFileSync(key),
    settings: { maxConcurrentStreams: 100 },
});

let connections = 0;
let requests = 0;
let open = 0;
let mostOpen = 0;
server.on('session', () => ++connections);
server.on('stream', (stream, headers) => {
    ++requests;
    mostOpen = Math.max(mostOpen, ++open);
    stream.on('close', () => --open);
    const file = path.join(root, decodeURIComponent(new URL(headers[':path'], 'https://host').pathname));
    setTimeout(() => {
        if (stream.destroyed)
            return;
        if (!file.startsWith(root + path.sep) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
            stream.respond({ ':status': 404 });
            stream.end();
            return;
        }
        // Streamed from the file, so the host's memory does not grow with what it serves.
        const type = file.endsWith('.xml') ? 'application/rss+xml' : 'application/octet-stream';
        stream.respondWithFile(file, { 'content-type': type });
    }, Number(delay));
});
server.listen(0, '127.0.0.1', () => console.log(server.address().port));

process.stdin.on('end', () => {
    console.log(`connections ${connections} requests ${requests} most-at-once ${mostOpen}`);
    process.exit(0);
});
process.stdin.resume();
