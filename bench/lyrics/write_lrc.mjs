// Writes LRC files through two LRC makers of the npm registry, as a page
// or a tool built on them saves a user's lyrics: node write_lrc.mjs DIR
import { writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { Lrc } from 'lrc-kit';
import { Lyrics } from 'paroles';

const dir = process.argv[2];

// lrc-kit: lines of the same text share one line with all their stamps;
// CR LF; the info as given, here with an offset.
const kit = new Lrc();
kit.info = { ti: '七里香', ar: '周杰伦', offset: '+500' };
for (const [timestamp, content] of [
  [1.0, '窗外的麻雀'],
  [2.8, '在电线杆上多嘴'],
  [15.2, '副歌 [x2]'],
  [90.0, '副歌 [x2]'],
  [100 * 60 + 0.5, 'late'],
]) {
  kit.lyrics.push({ timestamp, content, rawContent: content });
}
writeFileSync(join(dir, 'lyric_lrc_kit.lrc'), kit.toString());

// paroles: lines added one by one, information set afterwards; LF.
const made = new Lyrics('[00:01.00]窗外的麻雀');
made
  .insert({ time: 4.5, text: 'Sing it again [x2]' })
  .insert({ time: 3.25, text: '你说这一句' })
  .setInfo({ title: '七里香', artist: '周杰伦', length: '04:59' });
writeFileSync(join(dir, 'lyric_paroles.lrc'), made.toString());
