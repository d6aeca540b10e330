// Reads a workbook with exceljs (npm), either whole (Workbook.xlsx.readFile:
// values, number formats, merges, frozen rows, filters) or streaming
// (stream.xlsx.WorkbookReader, "--stream": values and number formats);
// prints the reading.
//   node read_exceljs.js [--stream] FILE
'use strict';
const ExcelJS = require('exceljs');
const { Reading, columnName, packageVersion } = require('./reading');

// A cell's value as a number or a string (rich text joined).
function plain(value) {
  if (value && typeof value === 'object' && Array.isArray(value.richText)) {
    return value.richText.map((run) => run.text).join('');
  }
  return value;
}

async function readWhole(path) {
  const book = new ExcelJS.Workbook();
  await book.xlsx.readFile(path);
  const reading = new Reading('exceljs', packageVersion('exceljs'),
                              ['values', 'formats', 'merges', 'frozen', 'filter']);
  for (const sheet of book.worksheets) {
    reading.line('sheet', sheet.name);
    sheet.eachRow({ includeEmpty: false }, (row) => {
      row.eachCell({ includeEmpty: false }, (cell) => {
        if (cell.isMerged && cell.master !== cell) return;  // shows its block's value
        const value = plain(cell.value);
        reading.cell(cell.address, value);
        if (value !== null && value !== undefined && value !== '') {
          reading.line('format', cell.address, cell.numFmt ?? 'General');
        }
      });
    });
    for (const merge of sheet.model.merges || []) reading.line('merge', merge);
    for (const view of sheet.views || []) {
      if (view.state === 'frozen') reading.line('frozen', view.topLeftCell);
    }
    const filter = sheet.autoFilter;
    if (filter) reading.line('filter', typeof filter === 'string' ? filter : `${filter.from}:${filter.to}`);
  }
  reading.flush();
}

async function readStreaming(path) {
  const reader = new ExcelJS.stream.xlsx.WorkbookReader(path, {
    sharedStrings: 'cache', styles: 'cache', hyperlinks: 'ignore', worksheets: 'emit',
  });
  const reading = new Reading('exceljs-stream', packageVersion('exceljs'), ['values', 'formats']);
  for await (const sheet of reader) {
    reading.line('sheet', sheet.name);
    for await (const row of sheet) {
      row.eachCell({ includeEmpty: false }, (cell, col) => {
        const value = plain(cell.value);
        const ref = columnName(col) + row.number;
        reading.cell(ref, value);
        if (value !== null && value !== undefined && value !== '') {
          reading.line('format', ref, cell.numFmt ?? 'General');
        }
      });
    }
  }
  reading.flush();
}

const args = process.argv.slice(2);
const streaming = args[0] === '--stream';
(streaming ? readStreaming(args[1]) : readWhole(args[0])).catch((error) => {
  console.error(error.stack || String(error));
  process.exit(1);
});
