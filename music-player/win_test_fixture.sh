# Prepares the prefix of the player's Windows tests (argument: the prefix):
# a 3-second tone as WAV with lyrics beside it, an MP3 with an ID3v2 artist
# and title, and a file that no decoder plays.
set -eu
prefix=$1
media=$prefix/drive_c/media
mkdir -p "$media"
sox -q -n -r 22050 -c 1 -b 16 "$media/tone.wav" synth 3 sine 440 vol 0.2
sox -q -n -r 22050 -c 1 -b 16 "$media/long.wav" synth 8 sine 330 vol 0.2
lame --quiet -b 32 --id3v2-only --ta "Artist" --tt "Title" "$media/long.wav" "$media/tagged.mp3"
printf '[ti:tone]\r\n[00:00.10]first\r\n[00:01.00]second\r\n[00:02.00]third\r\n' >"$media/tone.lrc"
# Text, not audio: no decoder takes it (random bytes might hold a frame).
yes 'this is not audio at all' | head -c 4000 >"$media/noise.mp3"
