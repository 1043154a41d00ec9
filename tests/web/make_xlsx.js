// Writes a small .xlsx by hand, with the cell kinds the page must read: text,
// numbers in the General format or a format of its own, and formulas whose
// value was never saved.
//
//   writeXlsx(path, [{ name, rows: [[cell, ...], ...] }, ...])
//
// A cell is a string (text), { n: number, format: '0000' } (format optional:
// General) or { f: 'formula' } (no saved value).
'use strict';
const fs = require('fs');
const zlib = require('zlib');

const crcTable = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k)
    c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});
function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes)
    c = crcTable[(c ^ b) & 255] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function zip(files) {
  const parts = [];
  const directory = [];
  let offset = 0;
  for (const [name, text] of files) {
    const data = Buffer.from(text, 'utf8');
    const packed = zlib.deflateRawSync(data);
    const nameBytes = Buffer.from(name, 'utf8');
    const header = Buffer.alloc(30);
    header.writeUInt32LE(0x04034b50, 0);
    header.writeUInt16LE(20, 4);
    header.writeUInt16LE(8, 8);
    header.writeUInt32LE(crc32(data), 14);
    header.writeUInt32LE(packed.length, 18);
    header.writeUInt32LE(data.length, 22);
    header.writeUInt16LE(nameBytes.length, 26);
    const entry = Buffer.alloc(46);
    entry.writeUInt32LE(0x02014b50, 0);
    entry.writeUInt16LE(20, 4);
    entry.writeUInt16LE(20, 6);
    entry.writeUInt16LE(8, 10);
    entry.writeUInt32LE(crc32(data), 16);
    entry.writeUInt32LE(packed.length, 20);
    entry.writeUInt32LE(data.length, 24);
    entry.writeUInt16LE(nameBytes.length, 28);
    entry.writeUInt32LE(offset, 42);
    directory.push(entry, nameBytes);
    parts.push(header, nameBytes, packed);
    offset += header.length + nameBytes.length + packed.length;
  }
  const size = directory.reduce((n, b) => n + b.length, 0);
  const end = Buffer.alloc(22);
  end.writeUInt32LE(0x06054b50, 0);
  end.writeUInt16LE(files.length, 8);
  end.writeUInt16LE(files.length, 10);
  end.writeUInt32LE(size, 12);
  end.writeUInt32LE(offset, 16);
  return Buffer.concat([...parts, ...directory, end]);
}

const escape = (text) => text.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
const column = (i) => (i >= 26 ? String.fromCharCode(64 + Math.floor(i / 26)) : '') + String.fromCharCode(65 + (i % 26));
const ns = 'xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" ' +
  'xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"';

function writeXlsx(path, sheets) {
  const formats = [];
  const styleOf = (format) => {
    if (!formats.includes(format))
      formats.push(format);
    return formats.indexOf(format) + 1;
  };
  const sheetXml = (rows) => '<worksheet ' + ns + '><sheetData>' + rows.map((cells, r) =>
    `<row r="${r + 1}">` + cells.map((cell, c) => {
      const ref = column(c) + (r + 1);
      if (cell === '')
        return '';
      if (typeof cell === 'string')
        return `<c r="${ref}" t="inlineStr"><is><t xml:space="preserve">${escape(cell)}</t></is></c>`;
      if (cell.f !== undefined)
        return `<c r="${ref}"><f>${escape(cell.f)}</f></c>`;
      return `<c r="${ref}"${cell.format ? ` s="${styleOf(cell.format)}"` : ''}><v>${cell.n}</v></c>`;
    }).join('') + '</row>').join('') + '</sheetData></worksheet>';
  const files = sheets.map((s, i) => [`xl/worksheets/sheet${i + 1}.xml`, sheetXml(s.rows)]);
  files.push(['xl/workbook.xml', '<workbook ' + ns + '><sheets>' + sheets.map((s, i) =>
    `<sheet name="${escape(s.name)}" sheetId="${i + 1}" r:id="rId${i + 1}"/>`).join('') + '</sheets></workbook>']);
  files.push(['xl/_rels/workbook.xml.rels',
    '<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">' + sheets.map((s, i) =>
      `<Relationship Id="rId${i + 1}" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet${i + 1}.xml"/>`).join('') +
    '</Relationships>']);
  files.push(['xl/styles.xml', '<styleSheet ' + ns + '><numFmts count="' + formats.length + '">' +
    formats.map((f, i) => `<numFmt numFmtId="${164 + i}" formatCode="${escape(f)}"/>`).join('') +
    '</numFmts><cellXfs><xf numFmtId="0"/>' + formats.map((f, i) => `<xf numFmtId="${164 + i}"/>`).join('') +
    '</cellXfs></styleSheet>']);
  fs.writeFileSync(path, zip(files));
}

module.exports = { writeXlsx };
