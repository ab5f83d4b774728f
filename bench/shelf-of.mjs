// Grows a service folder's catalog to COUNT apps shown in Explore, for measuring the window
// with a large shelf: the demo's apps, then copies of them under new identifiers, each with
// icon and screenshots of its own (copied files at addresses of its own, so that nothing is
// shared by address). Writes FOLDER/v1/shelf.json, the catalog to sign.
// Usage: node shelf-of.mjs FOLDER COUNT
import fs from 'node:fs';
import path from 'node:path';

const [folder, count] = process.argv.slice(2);
const catalog = JSON.parse(fs.readFileSync(path.join(folder, 'v1/catalog.json')));
const shown = catalog.apps.filter((app) => Number.parseFloat(app.minimumSystemVersion) < 99);
const copies = [];
for (let i = shown.length; i < Number(count); ++i) {
    const model = shown[i % shown.length];
    const id = `${model.productID}-${i}`;
    const images = path.join(folder, 'images');
    fs.cpSync(path.join(images, model.productID), path.join(images, id), { recursive: true });
    const moved = (url) => url.replace(`/images/${model.productID}/`, `/images/${id}/`);
    copies.push({
        ...model,
        productID: id,
        bundleID: `${model.bundleID}-${i}`,
        name: `${model.name} ${i}`,
        iconURL: moved(model.iconURL),
        screenshots: model.screenshots.map(moved),
    });
}
catalog.apps = catalog.apps.concat(copies);
fs.writeFileSync(path.join(folder, 'v1/shelf.json'), JSON.stringify(catalog));
