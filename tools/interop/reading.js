// The reading form (statcrane-model describes it) for the Node.js readers.
'use strict';

function escape(value) {
  return String(value ?? '')
    .replace(/\\/g, '\\\\')
    .replace(/\t/g, '\\t')
    .replace(/\n/g, '\\n')
    .replace(/\r/g, '\\r');
}

function columnName(col) {
  let name = '';
  for (; col > 0; col = Math.floor((col - 1) / 26)) {
    name = String.fromCharCode(65 + ((col - 1) % 26)) + name;
  }
  return name;
}

// Lines are gathered and written in large pieces.
class Reading {
  constructor(reader, version, reads) {
    this.lines = [];
    this.line('reader', reader, version);
    this.line('reads', reads.join(' '));
  }
  line(...fields) {
    this.lines.push(fields.map(escape).join('\t'));
    if (this.lines.length >= 65536) this.flush();
  }
  // A value: a JavaScript number or string.
  cell(ref, value) {
    if (typeof value === 'number') this.line('cell', ref, 'n', String(value));
    else if (typeof value === 'string') {
      if (value !== '') this.line('cell', ref, 's', value);
    } else if (value !== null && value !== undefined) {
      this.line('cell', ref, 's', `(${typeof value}) ${JSON.stringify(value)}`);
    }
  }
  flush() {
    if (this.lines.length) process.stdout.write(this.lines.join('\n') + '\n');
    this.lines = [];
  }
}

function packageVersion(name) {
  return require(`${name}/package.json`).version;
}

module.exports = { Reading, columnName, packageVersion };
