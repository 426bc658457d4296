// Extracts every entry of an archive with the independent extractor (node-unrar-js) and
// writes entry i to OUTDIR/i; prints "index<TAB>name<TAB>size<TAB>method" per entry.
// Usage: node unrar_check.js NODE_MODULES_DIR ARCHIVE OUTDIR
'use strict';
const fs = require('fs');
const path = require('path');

const [, , moduleDir, archive, outDir] = process.argv;
const unrar = require(path.join(moduleDir, 'node-unrar-js'));

(async () => {
  const bytes = fs.readFileSync(archive);
  const data = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.length);
  const extractor = await unrar.createExtractorFromData({ data });
  const { files } = extractor.extract();
  let index = 0;
  for (const file of files) {
    const h = file.fileHeader;
    fs.writeFileSync(path.join(outDir, String(index)), file.extraction || Buffer.alloc(0));
    console.log(`${index}\t${h.name}\t${h.unpSize}\t${h.method}`);
    ++index;
  }
})().catch((e) => {
  console.error(`extractor error: ${e.reason || ''} ${e.message}`);
  process.exit(1);
});
