// Builds a compound file with an implementation that shares no code with ole32, so that the
// settings store is tried on files it did not write itself.
//   node write_compound_file.js DESCRIPTION.json OUTPUT
// DESCRIPTION: {"entries": [{"path": "Model/Setting/TolClass100", "hex": "0a0b..."},
//                           {"path": "Model/Setting/ProBtn", "storage": true}, ...]}
// Storages on the way to a stream are created as needed; "storage" entries make empty ones. The
// library adds a small marker stream of its own to the root of every file, which is one more
// root-level stream for the store to pass over.
"use strict";

const fs = require("fs");
const CFB = require("cfb");

function main(argv) {
    if (argv.length !== 2) {
        process.stderr.write("usage: node write_compound_file.js DESCRIPTION.json OUTPUT\n");
        return 2;
    }
    const description = JSON.parse(fs.readFileSync(argv[0], "utf8"));
    const cfb = CFB.utils.cfb_new();
    const root = cfb.FullPaths[0];
    for (const entry of description.entries) {
        if (entry.storage) {
            cfb.FileIndex.push({ name: entry.path.split("/").pop(), type: 1 });
            cfb.FullPaths.push(root + entry.path + "/");
        } else {
            CFB.utils.cfb_add(cfb, "/" + entry.path, Buffer.from(entry.hex, "hex"));
        }
    }
    fs.writeFileSync(argv[1], CFB.write(cfb, { type: "buffer" }));
    return 0;
}

process.exitCode = main(process.argv.slice(2));
