#!/usr/bin/env bash
# The folders of src/ form layers: a file may include headers of its own folder and of the
# folders below it, never of a folder above it. Prints each include that runs the wrong way,
# with its file and line, and fails when there is one.
set -euo pipefail
source_dir=${1:-$(dirname "$0")/../..}

# Bottom first.
layers=(platform common store settings connections users browser notices app)

declare -A rank
for i in "${!layers[@]}"; do
    rank[${layers[$i]}]=$i
done

status=0
for folder_path in "$source_dir"/src/*/; do
    folder=$(basename "$folder_path")
    if [[ -z ${rank[$folder]+set} ]]; then
        echo "src/$folder: a folder that has no place in the layer order (${layers[*]})"
        status=1
        continue
    fi
    while IFS=: read -r file line include; do
        target=${include%%/*}
        [[ -z ${rank[$target]+set} || $target == "$folder" ]] && continue
        if ((rank[$target] > rank[$folder])); then
            echo "${file#"$source_dir"/}:$line: includes \"$include\", but $target is above $folder"
            status=1
        fi
    done < <(grep -rHnoE --include='*.h' --include='*.cpp' '^\s*#\s*include\s*[<"][a-z]+/[^">]+' "$folder_path" |
        sed -E 's/\s*#\s*include\s*[<"]//')
done
((status == 0)) && echo "layers: every include runs downwards (${layers[*]})"
exit $status
