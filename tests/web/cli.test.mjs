// wandrix-cli compiled to WebAssembly must do under node exactly what the
// native program does: the same standard output and errors, the same exit
// status and the same files, byte for byte.
import { test, after } from 'node:test';
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { createHash } from 'node:crypto';
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync, mkdirSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';

const nativeCli = process.env.WANDRIX_NATIVE_CLI;
const webCli = process.env.WANDRIX_WEB_CLI;
if (!nativeCli || !webCli) throw new Error('WANDRIX_NATIVE_CLI and WANDRIX_WEB_CLI name the programs');

const work = mkdtempSync(join(tmpdir(), 'wandrix-web-cli-'));
const session = join(work, 'given.dat');
writeFileSync(session, 'WANDRIX 1.0\r\n11\r\n400  300\r\n120  90\r\n15.00000\r\n12.50000\r\n2\r\n' +
  '\r\nsouth_west\r\n100.0\r\n80.0\r\n30.0\r\n45.0\r\n0.25\r\n1.0\r\n' +
  '\r\nnorth\r\n250.00000\r\n220.00000\r\n40.00000\r\n40.00000\r\n-0.50000\r\n3.00000\r\n');
writeFileSync(join(work, 'not-a-session.dat'), 'hello\n');
after(() => rmSync(work, { recursive: true, force: true }));

// Runs one program in a folder of its own; '@name' in the actions is a file
// in that folder, so the two programs' files can be compared.
function run(program, name, actions) {
  const folder = join(work, name);
  mkdirSync(folder, { recursive: true });
  const args = actions.map((a) => (a.startsWith('@') ? join(folder, a.slice(1)) : a));
  const command = program.endsWith('.js') ? ['node', [program, ...args]] : [program, args];
  const result = spawnSync(command[0], command[1], { maxBuffer: 1 << 30 });
  const files = {};
  for (const file of readdirSync(folder)) files[file] = readFileSync(join(folder, file));
  return { status: result.status, stdout: result.stdout, stderr: result.stderr.toString(), files };
}

const digest = (bytes) => createHash('sha256').update(bytes).digest('hex');

const cases = [
  ['a walk of 200,000 steps of 4 chains with heights, and its summary',
    ['set', 'rn_seed', '2024', 'set', 'nsteps', '200000', 'set', 'allow_rotation', '1',
     'chains', '4', 'show', '0', 'hill', 'west', '120', '200', '40', '40', '0.3', '1',
     'hill', 'east', '290', '150', '30', '50', '-0.5', '2', 'start', 'samples', '-', 'summary']],
  ['a session and a landscape file written, then read back and walked again',
    ['set', 'rn_seed', '7', 'chains', '2', 'hill', 'a b', '100', '100', '30', '30', '0', '1',
     'start', 'continue', 'summary', 'landscape', '@out.txt', 'save', '@out.dat',
     'open', '@out.dat', 'start', 'samples', '@again.csv']],
  ['a given session file with CR LF line ends',
    ['open', session, 'set', 'nsteps', '5000', 'chains', '3', 'start', 'samples', '-', 'summary',
     'save', '@resaved.dat']],
  ['a landscape that is not square, and the walk after the resize',
    ['hill', 'h', '200', '200', '50', '60', '0.7', '1', 'resize', '517', '333',
     'landscape', '@wide.txt', 'set', 'rn_seed', '99', 'start', 'samples', '-']],
  ['pictures of the rotated view in every format',
    ['set', 'rn_seed', '5', 'set', 'allow_rotation', '1', 'set', 'nsteps', '3000',
     'hill', 'h', '200', '180', '60', '60', '0.2', '1', 'chains', '2', 'show', '0', 'rotate',
     'start', 'picture', '@p.svg', 'picture', '@p.emf', 'picture', '@p.png']],
  ['the exact marginals and the diagnostics of four chains in every format',
    ['set', 'rn_seed', '31', 'set', 'nsteps', '20000', 'set', 'ignore_topography', '0',
     'chains', '4', 'show', '0', 'hill', 'a', '90', '250', '30', '60', '0.8', '1',
     'hill', 'b', '300', '100', '50', '20', '-0.6', '2', 'resize', '450', '330', 'start',
     'marginals', '-', 'marginals', '@m.csv', 'diagnostics', '@d.png', 'diagnostics', '@d.svg',
     'diagnostics', '@d.emf', 'ess']],
  // Longer than the progress line's delay: into a pipe no progress is shown.
  ['a walk of 1,000,000 steps of 4 chains, continued, and its rates',
    ['set', 'rn_seed', '11', 'set', 'nsteps', '1000000', 'chains', '4', 'hill', 'h', '200',
     '200', '60', '60', '0', '1', 'start', 'set', 'nsteps', '500', 'continue', 'rates']],
  ['a file that is not a session', ['open', join(work, 'not-a-session.dat'), 'summary']],
  ['a value outside the dialog limits', ['set', 'nsteps', '0', 'summary']],
  ['a folder that does not exist', ['save', join(work, 'missing', 'x.dat')]],
  ['an unknown action', ['walk']],
  ['the version', ['--version']],
  // Each program finds the lessons beside itself.
  ['a lesson that does not exist', ['lesson', 'no-such-lesson', 'summary']],
];
// Every lesson the program ships, opened, walked and saved.
const lessons = readdirSync(fileURLToPath(new URL('../../resources/lessons', import.meta.url)))
  .filter((file) => file.endsWith('.json')).map((file) => file.slice(0, -'.json'.length));
test('the program ships lessons to compare', () => assert.ok(lessons.length > 0));
for (const lesson of lessons) {
  cases.push([`the lesson ${lesson}, walked, with its picture and its session`,
    ['lesson', lesson, 'summary', 'start', 'summary', 'rates', 'picture', '@lesson.png',
     'save', '@lesson.dat']]);
}

for (const [title, actions] of cases) {
  test(title, () => {
    const native = run(nativeCli, title.replace(/\W+/g, '-') + '-native', actions);
    const web = run(webCli, title.replace(/\W+/g, '-') + '-web', actions);
    assert.equal(web.status, native.status, 'exit status');
    assert.equal(web.stderr, native.stderr, 'standard error');
    assert.equal(web.stdout.length, native.stdout.length, 'size of standard output');
    assert.equal(digest(web.stdout), digest(native.stdout), 'standard output');
    assert.deepEqual(Object.keys(web.files).sort(), Object.keys(native.files).sort(),
      'files written (no temporaries left)');
    for (const [name, bytes] of Object.entries(native.files)) {
      assert.ok(bytes.equals(web.files[name]), `${name} differs`);
    }
  });
}

test('the long walk really recorded its samples', () => {
  const native = run(nativeCli, 'count', ['set', 'nsteps', '200000', 'chains', '4', 'start',
    'samples', '-']);
  // A header and 4 chains of 200,001 samples at least: a walk that silently
  // stopped would make the comparisons above empty.
  assert.ok(native.stdout.toString().split('\n').length > 4 * 200000);
});
