// Reads a workbook with SheetJS (npm xlsx): values, number formats, merges,
// filters and links; prints the reading.
//   node read_sheetjs.js FILE
'use strict';
const XLSX = require('xlsx');
const { Reading } = require('./reading');

const book = XLSX.readFile(process.argv[2], { cellNF: true, cellText: false, dense: false });
const reading = new Reading('sheetjs', XLSX.version, ['values', 'formats', 'merges', 'filter', 'links']);
for (const name of book.SheetNames) {
  const sheet = book.Sheets[name];
  reading.line('sheet', name);
  const refs = Object.keys(sheet).filter((key) => key[0] !== '!');
  for (const ref of refs) {
    const cell = sheet[ref];
    if (cell.t === 'z') continue;  // a cell with a style only
    reading.cell(ref, cell.v);
    if (cell.v !== undefined && cell.v !== '') reading.line('format', ref, cell.z ?? 'General');
  }
  for (const merge of sheet['!merges'] || []) reading.line('merge', XLSX.utils.encode_range(merge));
  if (sheet['!autofilter']) reading.line('filter', sheet['!autofilter'].ref);
  for (const ref of refs) {
    const link = sheet[ref].l;
    if (link) reading.line('link', ref, link.location ?? link.Target);
  }
}
reading.flush();
