#!/usr/bin/env bash
# Builds the fuzzers' seed corpora from the shared corpus of real descriptions:
#   fuzz/seeds.sh OUT_DIR [SHARED_DIR]
# makes OUT_DIR/json (the .json files), OUT_DIR/yaml (the .yaml files), OUT_DIR/facade (both) and
# OUT_DIR/examples (the same as facade), plus a few small hand-written inputs. The copies live in the build folder only.
set -euo pipefail
out=${1:?usage: seeds.sh OUT_DIR [SHARED_DIR]}
shared=${2:-"$(cd "$(dirname "$0")/../.." && pwd)/shared"}
corpus="$shared/corpus/oai"
mkdir -p "$out/json" "$out/yaml" "$out/facade"
if [ -d "$corpus" ]; then
  while IFS= read -r -d '' f; do
    name=$(echo "${f#"$corpus"/}" | tr '/' '_')
    case "$f" in
      *.json) cp "$f" "$out/json/$name"; cp "$f" "$out/facade/$name" ;;
      *.yaml|*.yml) cp "$f" "$out/yaml/$name"; cp "$f" "$out/facade/$name" ;;
    esac
  done < <(find "$corpus" -type f \( -name '*.json' -o -name '*.yaml' -o -name '*.yml' \) -print0)
else
  echo "seeds.sh: no corpus at $corpus; using the small inputs only" >&2
fi
printf '{"a": [1, 2.5e3, "x\\u00e9", true, null], "b": {}}' > "$out/json/small.json"
printf 'a: &x {k: [1, "q"]}\nb:\n  <<: *x\n  c: |\n    text\n  d: >-\n    folded\n- \n' > "$out/yaml/small.yaml"
printf 'openapi: 3.1.0\ninfo: {title: t, version: "1"}\npaths:\n  /a/{id}:\n    get:\n      parameters: [{name: id, in: path, required: true, schema: {$ref: "#/components/schemas/S"}}]\n      responses: {"200": {description: ok}}\ncomponents:\n  schemas:\n    S: {allOf: [{$ref: "#/components/schemas/S"}]}\n' > "$out/facade/small.yaml"
mkdir -p "$out/examples"
cp "$out/facade/." "$out/examples/" -r
printf 'openapi: 3.0.3\ninfo: {title: t, version: "1"}\npaths:\n  /p:\n    post:\n      parameters: [{name: q, in: query, schema: {type: integer, minimum: 1e300, multipleOf: 1e-300}}]\n      requestBody: {content: {application/json: {schema: {$ref: "#/components/schemas/Pet"}}}}\n      responses: {"200": {description: ok, content: {application/json: {example: {a: [1]}}}}}\ncomponents:\n  schemas:\n    Pet: {oneOf: [{$ref: "#/components/schemas/Cat"}], discriminator: {propertyName: kind, mapping: {c: Cat}}}\n    Cat: {type: object, properties: {self: {$ref: "#/components/schemas/Pet"}, tags: {type: array, minItems: 1000000000, items: {type: string, minLength: 99}}}}\n' > "$out/examples/small.yaml"
echo "seeds: $(ls "$out/json" | wc -l) json, $(ls "$out/yaml" | wc -l) yaml, $(ls "$out/facade" | wc -l) facade, $(ls "$out/examples" | wc -l) examples in $out"
