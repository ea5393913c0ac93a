#!/usr/bin/env bash
# Makes the spoken prompts: one wave file per line of the prompt list
# ("Language<TAB>name<TAB>words"), in SOUND_DIR/<Language>/<name>.wav, with a Spanish voice for
# the Spanish prompts.
#   speak.sh ESPEAK_NG PROMPT_LIST SOUND_DIR
set -euo pipefail
espeak=$1 list=$2 sound=$3
count=0
while IFS=$'\t' read -r language name words; do
    [ -n "$name" ] || continue
    case $language in
    Spanish) voice=es ;;
    *) voice=en-us ;;
    esac
    mkdir -p "$sound/$language"
    "$espeak" -v "$voice" -s 150 -w "$sound/$language/$name.wav.part" -- "$words"
    mv "$sound/$language/$name.wav.part" "$sound/$language/$name.wav"
    count=$((count + 1))
done <"$list"
echo "spoke $count prompts into $sound"
