# Prepares the prefix of the player's Windows tests (argument: the prefix):
# a 3-second tone as WAV with lyrics beside it, an MP3 with an ID3v2 artist
# and title, an MP3 without tags (audio for the tags the tests build), a
# file that no decoder plays, the corpus files that tools we did not write
# made (lyric files too), and a 6-second WAV with a word-timed lyric file
# (inline and enhanced word stamps, brackets in the text, an offset of
# +1500 ms, UTF-8 with one byte of a Western code page).
set -eu
prefix=$1
media=$prefix/drive_c/media
mkdir -p "$media" "$media/corpus"
sox -q -n -r 22050 -c 1 -b 16 "$media/tone.wav" synth 3 sine 440 vol 0.2
sox -q -n -r 22050 -c 1 -b 16 "$media/long.wav" synth 8 sine 330 vol 0.2
sox -q -n -r 22050 -c 1 -b 16 "$media/words.wav" synth 6 sine 550 vol 0.2
lame --quiet -b 32 --id3v2-only --ta "Artist" --tt "Title" "$media/long.wav" "$media/tagged.mp3"
lame --quiet -b 32 "$media/long.wav" "$media/plain.mp3"
printf '[ti:tone]\r\n[00:00.10]first\r\n[00:01.00]second\r\n[00:02.00]third\r\n' >"$media/tone.lrc"
printf '[ti:七里香]\r\n[ar:周杰伦]\r\n[offset:+1500]\r\n[00:02.00]Hello [00:02.50]world\r\n[00:03.60]<00:03.60>窗外的 <00:04.20>麻雀<00:04.80>\r\n[00:05.00]Sing it again [x2]\r\n[00:06.00]Caf\351 Latte\r\n' >"$media/words.lrc"
# Text, not audio: no decoder takes it (random bytes might hold a frame).
yes 'this is not audio at all' | head -c 4000 >"$media/noise.mp3"
corpus=$(dirname "$0")/corpus
cp "$corpus"/*.mp3 "$corpus"/*.wav "$corpus"/*.lrc "$media/corpus/"
