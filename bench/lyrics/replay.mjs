// node replay.mjs WORK REVISION CORPUS (run by replay.sh)
//
// Every shape is written as a lyric file the way its tools write it; both
// builds of bench/lyrics/lyric_replay.cc give the line shown at each
// position text, and lrc-kit reads the same lyrics, decoded in the encoding
// they were written in, with the [offset:] applied with its usual sign
// (sooner when positive; lrc-kit's own runner moves lines the other way).
//
// Ticks come every half second. The position text tells the player the
// second it is in and no more, so a tick counts as right when the line
// shown is one the reference shows at some moment of that second ("within
// the second"). "At the tick" counts the ticks whose line is the one the
// reference shows at the tick's own moment, over five phases of the ticks
// against the seconds (0, 0.1, ... 0.4 s): no whole-second reading gets all
// of them, and it says how close the line keeps to the moment.
import { execFileSync } from 'node:child_process';
import { readFileSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { Lrc } from 'lrc-kit';

const [work, revision, corpus] = process.argv.slice(2);

const gbk = (text) => execFileSync('iconv', ['-f', 'UTF-8', '-t', 'GBK'], { input: text });
const utf16 = (text, bigEndian) => {
  const le = Buffer.from(text, 'utf16le');
  if (bigEndian) for (let i = 0; i + 1 < le.length; i += 2) [le[i], le[i + 1]] = [le[i + 1], le[i]];
  return le;
};
const encoders = {
  utf8: (t) => Buffer.from(t, 'utf8'),
  utf8bom: (t) => Buffer.concat([Buffer.from([0xef, 0xbb, 0xbf]), Buffer.from(t, 'utf8')]),
  gbk,
  utf16le: (t) => utf16(t, false),
  utf16lebom: (t) => Buffer.concat([Buffer.from([0xff, 0xfe]), utf16(t, false)]),
  utf16bebom: (t) => Buffer.concat([Buffer.from([0xfe, 0xff]), utf16(t, true)]),
};

const song = '[ti:七里香]\n[ar:周杰伦]\n[al:七里香]\n[by:someone]\n[length: 04:59]\n' +
  '[00:01.00]窗外的麻雀\n[00:03.50]在电线杆上多嘴\n[00:06.20]你说这一句\n[00:09.00]很有夏天的感觉\n';
const lines = (s, eol) => s.replace(/\n/g, eol);
const shapes = [
  // Right on main too.
  ['GBK, CR LF', lines(song, '\r\n'), 'gbk'],
  ['GBK, CR', lines(song, '\r'), 'gbk'],
  ['GBK, LF', song, 'gbk'],
  ['UTF-8 with a mark', lines(song, '\r\n'), 'utf8bom'],
  ['UTF-8 without a mark', song, 'utf8'],
  ['UTF-16LE with a mark', lines(song, '\r\n'), 'utf16lebom'],
  ['UTF-16BE with a mark', lines(song, '\r\n'), 'utf16bebom'],
  ['several stamps on a line', '[00:01.00]一\n[00:03.20][00:08.00]副歌\n[00:05.00]二\n', 'utf8'],
  ['enhanced word stamps', '[00:01.00]<00:01.00>窗外的 <00:01.60>麻雀\n[00:03.00]<00:03.00>在电线杆上\n', 'utf8'],
  ['two lines in one second', '[00:01.10]first\n[00:01.90]second\n[00:03.00]third\n', 'gbk'],
  ['stamps without hundredths', '[00:01]one\n[00:03]three\n', 'gbk'],
  ['thousandths and tenths', '[00:01.250]one\n[00:03.5]three\n', 'gbk'],
  ['empty lines clear the line', '[00:01.00]one\n[00:02.50]\n[00:04.00]four\n', 'gbk'],
  ['lines out of order', '[00:05.00]five\n[00:01.00]one\n[00:03.00]three\n', 'gbk'],
  ['offset +3000', '[offset:+3000]\n[00:04.00]four\n[00:07.00]seven\n', 'gbk'],
  ['offset -2000', '[offset:-2000]\n[00:01.00]one\n[00:04.00]four\n', 'gbk'],
  ['GBK partly like UTF-8', '[00:01.00]我的爱也真\n[00:03.00]在电线杆上多嘴\n', 'gbk'],
  // Wrong on main and now: GBK that is well-formed UTF-8 as well, read as
  // UTF-8 (one character of U+0080 to U+07FF).
  ['one GBK character, also UTF-8', '[00:01.00]一\n', 'gbk'],
  // Wrong on main.
  ['word-timed inline', '[00:01.00]Hello [00:01.50]world\n[00:03.00]again\n', 'utf8'],
  ['brackets in the text', '[00:01.00]Sing it again [x2]\n[00:03.00]end\n', 'utf8'],
  ['blanks around word stamps', '[00:01.00] <00:01.00> Hello <00:01.50> world <00:02.00>\n', 'utf8'],
  ['offset +500', '[offset:+500]\n[00:01.00]one\n[00:02.80]two\n[00:04.00]three\n[00:06.60]four\n', 'gbk'],
  ['offset -1500', '[offset:-1500]\n[00:02.00]one\n[00:04.00]two\n[00:05.70]three\n', 'gbk'],
  ['past 99 minutes', '[00:01.00]start\n[100:00.50]late\n', 'utf8'],
  ['hundredths after a colon', '[00:01:05]one\n[00:30.00]two\n[01:10.00]three\n', 'utf8'],
  ['one-digit minutes', '[0:01.00]Hello\n[0:03.00]again\n', 'utf8'],
  ['a time in the text', '[00:01.00]one\n[00:30.00]We met at 00:05\n', 'utf8'],
  ['UTF-16LE without a mark', lines(song, '\r\n'), 'utf16le'],
  ['short UTF-8, one Western byte', '[00:01.00]第一句\r\n[00:09.00]café au lait\r\n', 'latin1e'],
];

const files = [];
shapes.forEach(([name, text, encoding], i) => {
  const path = join(work, `shape${i}.lrc`);
  let bytes;
  if (encoding === 'latin1e') {
    bytes = Buffer.from(text, 'utf8');
    const e = Buffer.from('é', 'utf8');
    bytes = Buffer.from(bytes.toString('binary').replace(e.toString('binary'), '\xe9'), 'binary');
  } else {
    bytes = encoders[encoding](text);
  }
  writeFileSync(path, bytes);
  // What the file says, decoded as it was written (a stray byte as U+FFFD).
  const written = encoding === 'latin1e' ? new TextDecoder('utf-8').decode(bytes) : text;
  files.push({ name, path, text: written });
});
for (const [file, encoding] of [
  ['lyric_ffmpeg.lrc', 'utf-8'],
  ['lyric_gaupol_gbk.lrc', 'gbk'],
  ['lyric_gaupol_utf16le.lrc', 'utf-16le'],
  ['lyric_lrc_kit.lrc', 'utf-8'],
  ['lyric_paroles.lrc', 'utf-8'],
]) {
  const path = join(corpus, file);
  files.push({ name: file, path, text: new TextDecoder(encoding).decode(readFileSync(path)) });
}

// Made-up songs: 30 lines, 2 to 6 s apart, stamped to the hundredth, for
// each offset from -1500 to +1500 ms in steps of 100.
let seed = 7;
const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
const stamp = (t) => {
  const cs = Math.round(t * 100);
  const m = Math.floor(cs / 6000), s = Math.floor(cs / 100) % 60, f = cs % 100;
  return `[${String(m).padStart(2, '0')}:${String(s).padStart(2, '0')}.${String(f).padStart(2, '0')}]`;
};
const offsetSongs = [];
for (let offset = -1500; offset <= 1500; offset += 100) {
  for (let n = 0; n < 10; ++n) {
    let t = 3 + random() * 5, text = `[offset:${offset >= 0 ? '+' : ''}${offset}]\n`;
    for (let l = 0; l < 30; ++l, t += 2 + random() * 4) text += `${stamp(t)}line ${l}\n`;
    const path = join(work, `offset${offset}_${n}.lrc`);
    writeFileSync(path, Buffer.from(text, 'utf8'));
    const item = { name: `offset ${offset}`, path, text, offset };
    files.push(item);
    offsetSongs.push(item);
  }
}

// The reference: lrc-kit's reading, the offset applied with its usual sign.
const reference = (text) => {
  const lrc = Lrc.parse(text);
  const offset = 'offset' in lrc.info ? parseInt(lrc.info.offset, 10) / 1000 || 0 : 0;
  const due = lrc.lyrics.map((l) => ({ at: l.timestamp - offset, text: l.content }));
  due.sort((a, b) => a.at - b.at);
  const at = (m) => {
    let shown = '';
    for (const l of due) if (l.at <= m + 1e-9) shown = l.text;
    return shown;
  };
  return { due, at };
};

const seconds = (ref) => Math.min(6100, Math.ceil(Math.max(0, ...ref.due.map((l) => l.at))) + 3);
const refs = files.map((f) => reference(f.text));
const longest = Math.max(...refs.map(seconds));
const run = (exe) => {
  const out = new Map();
  // A few hundred files at a time keep the command line short.
  for (let i = 0; i < files.length; i += 200) {
    const batch = files.slice(i, i + 200).map((f) => f.path);
    for (const line of execFileSync(exe, [String(longest), ...batch], { maxBuffer: 1 << 30 })
      .toString('utf8').split('\n').filter(Boolean)) {
      const { file, lines } = JSON.parse(line);
      out.set(file, lines);
    }
  }
  return out;
};
const ours = { old: run(join(work, 'replay-old')), new: run(join(work, 'replay-new')) };

const score = (f, ref, lines) => {
  const end = seconds(ref);
  let wrong = 0, ticks = 0, atTick = 0, phaseTicks = 0;
  for (let k = 0; k <= 2 * end; ++k) {
    const p = Math.floor(k / 2);
    const allowed = new Set([ref.at(p)]);
    for (const l of ref.due) if (l.at > p && l.at < p + 1) allowed.add(ref.at(l.at));
    ++ticks;
    if (!allowed.has(lines[p])) ++wrong;
  }
  for (const phase of [0, 0.1, 0.2, 0.3, 0.4]) {
    for (let k = 0; phase + k / 2 <= end; ++k) {
      const t = phase + k / 2;
      ++phaseTicks;
      if (lines[Math.floor(t)] === ref.at(t)) ++atTick;
    }
  }
  return { wrong, ticks, atTick, phaseTicks };
};

const pct = (a, b) => `${((100 * a) / b).toFixed(1)} %`;
console.log(`Reference: lrc-kit ${JSON.parse(readFileSync(new URL('./node_modules/lrc-kit/package.json', import.meta.url))).version}; ` +
  `"${revision}" against the working tree.`);
console.log(['shape', 'ticks', `wrong: ${revision}`, 'wrong: now', `at the tick: ${revision}`, 'at the tick: now'].join(' | '));
let rightOld = 0, rightNew = 0, shown = 0;
files.forEach((f, i) => {
  if ('offset' in f) return;
  const o = score(f, refs[i], ours.old.get(f.path));
  const n = score(f, refs[i], ours.new.get(f.path));
  ++shown;
  rightOld += o.wrong === 0;
  rightNew += n.wrong === 0;
  console.log([f.name, o.ticks, o.wrong, n.wrong, pct(o.atTick, o.phaseTicks), pct(n.atTick, n.phaseTicks)].join(' | '));
});
console.log(`right at every tick: ${revision} ${rightOld} of ${shown}, now ${rightNew} of ${shown}`);
console.log('offset | songs | ticks | wrong: ' + revision + ' | wrong: now | at the tick: ' + revision + ' | at the tick: now');
for (let offset = -1500; offset <= 1500; offset += 100) {
  const sum = { old: [0, 0, 0, 0], new: [0, 0, 0, 0] };
  files.forEach((f, i) => {
    if (f.offset !== offset) return;
    for (const which of ['old', 'new']) {
      const s = score(f, refs[i], ours[which].get(f.path));
      sum[which][0] += s.wrong; sum[which][1] += s.ticks; sum[which][2] += s.atTick; sum[which][3] += s.phaseTicks;
    }
  });
  console.log([offset, 10, sum.new[1], `${sum.old[0]} (${pct(sum.old[0], sum.old[1])})`,
    `${sum.new[0]} (${pct(sum.new[0], sum.new[1])})`, pct(sum.old[2], sum.old[3]), pct(sum.new[2], sum.new[3])].join(' | '));
}
