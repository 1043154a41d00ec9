// The spreadsheets volunteers keep (.xlsx, .ods), read with what the browser
// has (DecompressionStream for the zip, DOMParser for the XML) and turned into
// the bytes a spreadsheet program's CSV save in Windows-1252 gives: every row
// as wide as the widest, cells that hold a comma, a quote or a line break in
// double quotes, rows ended by CR LF, characters Windows-1252 lacks as "?".
'use strict';

// The zip's entries by name; each read on demand.
async function zipEntries(bytes) {
  const view = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  let end = bytes.length - 22;
  while (end >= 0 && view.getUint32(end, true) !== 0x06054b50)
    --end;
  if (end < 0)
    throw new Error('it is not a spreadsheet file (no zip directory found)');
  const count = view.getUint16(end + 10, true);
  let at = view.getUint32(end + 16, true);
  const entries = new Map();
  const utf8 = new TextDecoder();
  for (let i = 0; i < count; ++i) {
    const method = view.getUint16(at + 10, true);
    const size = view.getUint32(at + 20, true);
    const nameLength = view.getUint16(at + 28, true);
    const skip = nameLength + view.getUint16(at + 30, true) + view.getUint16(at + 32, true);
    const local = view.getUint32(at + 42, true);
    const name = utf8.decode(bytes.subarray(at + 46, at + 46 + nameLength));
    entries.set(name, async () => {
      const start = local + 30 + view.getUint16(local + 26, true) + view.getUint16(local + 28, true);
      const data = bytes.subarray(start, start + size);
      if (method === 0)
        return data;
      if (method !== 8)
        throw new Error('the zip entry ' + name + ' is packed in a way the page does not read');
      const inflated = new Blob([data]).stream().pipeThrough(new DecompressionStream('deflate-raw'));
      return new Uint8Array(await new Response(inflated).arrayBuffer());
    });
    at += 46 + skip;
  }
  return entries;
}

async function xmlOf(entries, name) {
  const read = entries.get(name);
  if (read === undefined)
    return null;
  const doc = new DOMParser().parseFromString(new TextDecoder().decode(await read()), 'application/xml');
  if (doc.getElementsByTagName('parsererror').length > 0)
    throw new Error(name + ' in the spreadsheet is not well-formed');
  return doc;
}

const all = (node, localName) => [...node.getElementsByTagNameNS('*', localName)];
const kids = (node, localName) => [...node.children].filter((c) => c.localName === localName);

// A1-style column letters from a 0-based index, and back.
function columnName(index) {
  let name = '';
  for (let n = index + 1; n > 0; n = Math.floor((n - 1) / 26))
    name = String.fromCharCode(65 + (n - 1) % 26) + name;
  return name;
}
function columnIndex(letters) {
  let n = 0;
  for (const c of letters)
    n = n * 26 + c.charCodeAt(0) - 64;
  return n - 1;
}

// A number as the General format shows it: at most eleven characters.
function generalText(x) {
  if (Number.isInteger(x) && Math.abs(x) < 1e11)
    return String(x);
  const plain = String(x);
  if (!/e/i.test(plain) && plain.length <= 11)
    return plain;
  const digits = String(Math.floor(Math.abs(x))).length + (x < 0 ? 1 : 0);
  if (Math.abs(x) >= 1e-4 && digits < 10)
    return String(Number(x.toFixed(10 - digits)));
  const [mantissa, exponent] = x.toExponential(5).split('e');
  const e = Number(exponent);
  return String(Number(mantissa)) + 'E' + (e < 0 ? '-' : '+') + String(Math.abs(e)).padStart(2, '0');
}

// Excel writes characters XML cannot hold as _xHHHH_.
const unescapeOoxml = (text) => text.replace(/_x([0-9A-Fa-f]{4})_/g, (_, hex) => String.fromCharCode(parseInt(hex, 16)));

// The formats the page turns into text as the CSV save does: General, text,
// and whole numbers with leading zeros ("0", "0000").
function numberFormats(styles) {
  const codes = new Map([[0, 'General'], [1, '0'], [49, '@']]);
  if (styles === null)
    return [];
  for (const f of all(styles, 'numFmt'))
    codes.set(Number(f.getAttribute('numFmtId')), f.getAttribute('formatCode'));
  const cellXfs = all(styles, 'cellXfs')[0];
  return cellXfs ? kids(cellXfs, 'xf').map((xf) => codes.get(Number(xf.getAttribute('numFmtId') || 0)) ?? 'format ' + xf.getAttribute('numFmtId')) : [];
}

function xlsxCellText(c, shared, formats, notices) {
  const ref = c.getAttribute('r');
  const type = c.getAttribute('t') || 'n';
  const v = kids(c, 'v')[0];
  const formula = kids(c, 'f').length > 0;
  if (type === 'inlineStr')
    return unescapeOoxml(all(c, 't').map((t) => t.textContent).join(''));
  if (v === undefined) {
    if (formula)
      notices.push(`Cell ${ref}: a formula without a saved value; save the spreadsheet in its program first (the cell is left empty).`);
    return '';
  }
  const value = v.textContent;
  switch (type) {
  case 's': return shared[Number(value)] ?? '';
  case 'str': return unescapeOoxml(value);
  case 'b': return value === '1' ? 'TRUE' : 'FALSE';
  case 'e': return value;
  case 'n': break;
  default:
    notices.push(`Cell ${ref}: a ${type === 'd' ? 'date' : 'value of kind ' + type} the page does not read; written as ${value}.`);
    return value;
  }
  const x = Number(value);
  const format = formats[Number(c.getAttribute('s') || 0)] ?? 'General';
  if (format === 'General' || format === '@')
    return generalText(x);
  if (/^0+$/.test(format) && Number.isInteger(Math.round(x))) {
    const whole = Math.round(Math.abs(x));
    return (x < 0 && whole !== 0 ? '-' : '') + String(whole).padStart(format.length, '0');
  }
  notices.push(`Cell ${ref}: the number format ${format} is not read by the page; written as ${generalText(x)}, as the General format shows it.`);
  return generalText(x);
}

async function xlsxBook(entries) {
  const book = await xmlOf(entries, 'xl/workbook.xml');
  const rels = await xmlOf(entries, 'xl/_rels/workbook.xml.rels');
  if (book === null || rels === null)
    throw new Error('it is not an .xlsx workbook');
  const targets = new Map(all(rels, 'Relationship').map((r) => [r.getAttribute('Id'), r.getAttribute('Target')]));
  const sheets = all(book, 'sheet').map((s) => {
    const id = s.getAttributeNS('http://schemas.openxmlformats.org/officeDocument/2006/relationships', 'id');
    const target = targets.get(id) || '';
    return { name: s.getAttribute('name'), path: target.startsWith('/') ? target.slice(1) : 'xl/' + target };
  });
  const sharedDoc = await xmlOf(entries, 'xl/sharedStrings.xml');
  const shared = sharedDoc === null ? [] : all(sharedDoc, 'si').map((si) =>
    unescapeOoxml(all(si, 't').filter((t) => t.parentNode.localName !== 'rPh').map((t) => t.textContent).join('')));
  const formats = numberFormats(await xmlOf(entries, 'xl/styles.xml'));
  return {
    names: sheets.map((s) => s.name),
    rows: async (index, notices) => {
      const sheet = await xmlOf(entries, sheets[index].path);
      const rows = [];
      let next = 0;
      for (const row of all(sheet, 'row')) {
        const r = Number(row.getAttribute('r') || next + 1) - 1;
        const cells = [];
        let col = 0;
        for (const c of kids(row, 'c')) {
          const ref = c.getAttribute('r');
          if (ref)
            col = columnIndex(/^[A-Z]+/.exec(ref)[0]);
          else
            c.setAttribute('r', columnName(col) + (r + 1));
          cells[col++] = xlsxCellText(c, shared, formats, notices);
        }
        rows[r] = cells;
        next = r + 1;
      }
      return rows;
    },
  };
}

// An .ods cell's text as shown: its paragraphs, with the spaces, tabs and
// line breaks they hold.
function odsText(node) {
  let text = '';
  for (const child of node.childNodes) {
    if (child.nodeType === Node.TEXT_NODE)
      text += child.data;
    else if (child.localName === 's')
      text += ' '.repeat(Number(child.getAttribute('text:c') || child.getAttributeNS('*', 'c') || 1));
    else if (child.localName === 'tab')
      text += '\t';
    else if (child.localName === 'line-break')
      text += '\n';
    else if (child.localName !== 'annotation')
      text += odsText(child);
  }
  return text;
}

const odsNs = {
  table: 'urn:oasis:names:tc:opendocument:xmlns:table:1.0',
  office: 'urn:oasis:names:tc:opendocument:xmlns:office:1.0',
};

function odsCellText(cell, ref, notices) {
  const shown = kids(cell, 'p').map(odsText).join('\n');
  const type = cell.getAttributeNS(odsNs.office, 'value-type');
  if (cell.hasAttributeNS(odsNs.table, 'formula') && !type && shown === '')
    notices.push(`Cell ${ref}: a formula without a saved value; save the spreadsheet in its program first (the cell is left empty).`);
  if (type === 'float' || type === 'percentage' || type === 'currency') {
    const x = Number(cell.getAttributeNS(odsNs.office, 'value'));
    const zeroPadded = /^-?0*\d+$/.test(shown) && Number(shown) === x;
    if (shown !== generalText(x) && !zeroPadded)
      notices.push(`Cell ${ref}: the number ${generalText(x)} is shown as ${shown} by its number format; written as shown.`);
  } else if (type === 'date' || type === 'time') {
    notices.push(`Cell ${ref}: a ${type} the page does not read; written as shown, ${shown}.`);
  }
  return shown;
}

async function odsBook(entries) {
  const content = await xmlOf(entries, 'content.xml');
  if (content === null)
    throw new Error('it is not an .ods spreadsheet');
  const tables = all(content, 'table').filter((t) => t.parentNode.localName === 'spreadsheet');
  return {
    names: tables.map((t) => t.getAttributeNS(odsNs.table, 'name')),
    rows: async (index, notices) => {
      const rows = [];
      let r = 0;
      for (const row of all(tables[index], 'table-row')) {
        const repeat = Number(row.getAttributeNS(odsNs.table, 'number-rows-repeated') || 1);
        const cells = [];
        let col = 0;
        for (const cell of [...row.children].filter((c) => /^(covered-)?table-cell$/.test(c.localName))) {
          const times = Number(cell.getAttributeNS(odsNs.table, 'number-columns-repeated') || 1);
          const text = odsCellText(cell, columnName(col) + (r + 1), notices);
          if (text !== '')
            for (let i = 0; i < times; ++i)
              cells[col + i] = text;
          col += times;
        }
        // A repeated row is an empty stretch (or copies): kept only when it holds something.
        if (cells.length > 0)
          for (let i = 0; i < repeat; ++i)
            rows[r + i] = cells;
        r += repeat;
      }
      return rows;
    },
  };
}

// Windows-1252 bytes for a text; a character it has no place for becomes "?".
const cp1252Bytes = (() => {
  const table = new Map();
  const decoder = new TextDecoder('windows-1252');
  for (let b = 0; b < 256; ++b)
    table.set(decoder.decode(new Uint8Array([b])), b);
  return (text) => {
    const out = [];
    for (const ch of text)
      out.push(table.get(ch) ?? 63);
    return out;
  };
})();

// The CSV save of the rows: as wide as the widest row that holds anything.
function csvBytes(rows) {
  let width = 0;
  for (const cells of rows)
    if (cells)
      for (let c = cells.length - 1; c >= 0; --c)
        if (cells[c]) {
          width = Math.max(width, c + 1);
          break;
        }
  const out = [];
  for (let r = 0; r < rows.length; ++r) {
    const cells = rows[r] || [];
    const line = [];
    for (let c = 0; c < width; ++c) {
      const text = cells[c] || '';
      line.push(/[",\r\n]/.test(text) ? '"' + text.replace(/"/g, '""') + '"' : text);
    }
    out.push(...cp1252Bytes(line.join(',')), 13, 10);
  }
  return new Uint8Array(out);
}

// The piece's name for the census: the spreadsheet's name with .CSV.
const csvName = (name) => name.replace(/\.[^.]*$/, '') + '.CSV';

// A source for the page: the sheet names, and a sheet read as a piece. Null
// for a file that is not a spreadsheet (the page takes it as a CSV).
function spreadsheetSource(file) {
  const kind = /\.(xlsx|ods)$/i.exec(file.name);
  if (!kind)
    return null;
  let book = null;
  const open = async () => {
    if (book === null) {
      const entries = await zipEntries(new Uint8Array(await file.arrayBuffer()));
      book = kind[1].toLowerCase() === 'xlsx' ? await xlsxBook(entries) : await odsBook(entries);
    }
    return book;
  };
  return {
    sheetNames: async () => (await open()).names,
    read: async (sheet) => {
      const b = await open();
      const notices = [];
      const index = Math.min(Number(sheet) || 0, b.names.length - 1);
      const rows = await b.rows(index, notices);
      return { name: csvName(file.name), bytes: csvBytes(rows), notices };
    },
  };
}
