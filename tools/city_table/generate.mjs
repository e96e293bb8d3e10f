// SPDX-License-Identifier: MIT
// Generates data/city_table.txt: the embedded city table of 879 records
//   code|name|upperCode|pinyin|initials|number
// each introduced by "@", in the order of names.txt, followed by one record for every city
// of the segment store that none of them names (store-cities.tsv, province and city by
// tab, in the store's order: by province, then city), numbered on from 1001.
//
// Run by hand after changing names.txt, the corrections below, or the segment data:
//   build/dev/bin/haoma-cli cities | tail -n +2 | cut -f1,2 > tools/city_table/store-cities.tsv
//   cd tools/city_table && npm install && node generate.mjs
// The draft readings come from pinyin-pro; place names full of characters with more than
// one reading were reviewed by hand, and the readings that the draft gets wrong are fixed
// in CORRECTED_READINGS so that a rerun keeps them.

import { readFileSync, writeFileSync } from "node:fs";
import { pinyin } from "pinyin-pro";

const here = new URL(".", import.meta.url);
const names = readFileSync(new URL("names.txt", here), "utf8").trim().split("\n");
const storeCities = readFileSync(new URL("store-cities.tsv", here), "utf8")
  .trim()
  .split("\n")
  .map((line) => line.split("\t")[1]);

// Names whose draft reading was wrong, with the reading of the place (syllables by space).
const CORRECTED_READINGS = {
  都匀: "du yun",
  都格: "du ge",
  喀什: "ka shi",
  阿图什: "a tu shi",
  嘎什甸子: "ga shi dian zi",
  虎什哈: "hu shi ha",
  和什托洛盖: "he shi tuo luo gai",
  繁峙: "fan shi",
  涡阳: "guo yang",
  冠豸山: "guan zhai shan",
  洪洞: "hong tong",
  大埔: "da bu",
  班猫箐: "ban mao qing",
  柴沟堡: "chai gou bu",
  红寺堡: "hong si bu",
  // 堡 of a village read pù, as the order of the codes in the table confirms.
  大堡: "da pu",
  革镇堡: "ge zhen pu",
  // Cities of the segment store appended after the 879 records.
  昌都: "chang du",
};

// Rows whose every field is fixed, as stored. The last record is cut short.
const TELLING_ROWS = {
  北京: "bji|北京|BJP|beijing|bj|2",
  哈尔滨: "heb|哈尔滨|HBB|haerbin|heb|31",
  呼和浩特: "hht|呼和浩特|HHC|huhehaote|hhht|36",
  安顺: "ash|安顺|ASW|anshun|as|79",
  鞍山: "ash|鞍山|AST|anshan|as|80",
  和什托洛盖: "hsg|和什托洛盖|VSR|heshituoluogai|hstlg|979",
  汝箕沟: "rjg|汝箕沟|RQJ|rujigou|rqg|345",
  北滘: "bji|北滘|IBQ|beijiao|b|569",
  换新天: "hxt|换新天|VTB|huanxintian|h",
};

// Codes kept from the railway usage where the place's correct reading would give a code out
// of the table's order (the usage reads 洪洞 hongdong and 堡, 埔 as pu).
const CODE_OVERRIDES = {
  洪洞: "hdo",
  大埔: "dpu",
  柴沟堡: "cgp",
  红寺堡: "hsp",
};

const RUNS = [
  { count: 29, first: 2, last: 71 },
  { count: 412, first: 72, last: 521 },
  { count: 438, first: 523, last: 1000 },
];

function syllablesOf(name) {
  if (CORRECTED_READINGS[name]) return CORRECTED_READINGS[name].split(" ");
  return pinyin(name, { toneType: "none", type: "array", v: true });
}

// The short code: the first letter of the first syllable, then for two characters the first
// two letters of the second syllable, for three the first letters of the others, for more
// the first letters of the second and the last syllable.
function codeOf(syllables) {
  const [a, b] = syllables;
  if (syllables.length === 2) return a[0] + (b.length > 1 ? b.slice(0, 2) : b + a.slice(-1));
  if (syllables.length === 3) return a[0] + b[0] + syllables[2][0];
  return a[0] + b[0] + syllables[syllables.length - 1][0];
}

const records = names.map((name, index) => {
  const run = index < 29 ? 0 : index < 29 + 412 ? 1 : 2;
  if (TELLING_ROWS[name]) {
    const [code, , upperCode, py, initials, number] = TELLING_ROWS[name].split("|");
    return { name, run, code, upperCode, pinyin: py, initials, number, fixed: true };
  }
  const syllables = syllablesOf(name);
  if (syllables.length !== [...name].length) throw new Error(`syllables of ${name}`);
  return {
    name,
    run,
    code: CODE_OVERRIDES[name] ?? codeOf(syllables),
    upperCode: null,
    pinyin: syllables.join(""),
    initials: syllables.map((s) => s[0]).join(""),
    number: null,
    fixed: false,
  };
});

// Checks of the code order in runs 2 and 3.
const problems = [];
for (let i = 1; i < records.length; i++) {
  const [p, r] = [records[i - 1], records[i]];
  if (r.code[0] !== r.pinyin[0]) problems.push(`${r.name}: code ${r.code} vs pinyin ${r.pinyin}`);
  if (p.run === r.run && r.run > 0 && p.code > r.code)
    problems.push(`${p.name} ${p.code} > ${r.name} ${r.code}`);
}
if (problems.length) {
  console.error(problems.join("\n"));
  process.exitCode = 1;
}

// Upper codes: unique; from the initials of the first two syllables and a third letter.
const used = new Set(records.filter((r) => r.fixed).map((r) => r.upperCode));
const THIRD = "PHQWXYZBCDEFGJKLMNRSTUVA";
function assignUpperCodes(list) {
  for (const r of list) {
    if (r.upperCode) continue;
    const first = r.initials[0].toUpperCase();
    const seconds = (r.initials[1] + "ABCDEFGHJKLMNPQRSTWXYZ").toUpperCase();
    search: for (const second of seconds) {
      for (const third of THIRD) {
        const candidate = first + second + third;
        if (!used.has(candidate)) {
          r.upperCode = candidate;
          used.add(candidate);
          break search;
        }
      }
    }
  }
}
assignUpperCodes(records);

// Numbers: ascending with gaps inside each run's range, through the fixed numbers. A small
// deterministic generator spreads the gaps. Run 1 keeps the numbers that begin with 2 for
// 北京 and the five capitals after the four municipalities.
let seed = 20240601;
const random = () => ((seed = (seed * 1103515245 + 12345) % 2147483648) / 2147483648);
function numberRun(members, low, high) {
  // Anchors: fixed numbers split the run into stretches filled between them.
  let start = low;
  let i = 0;
  while (i < members.length) {
    let j = i;
    while (j < members.length && members[j].number === null) j++;
    const end = j < members.length ? Number(members[j].number) - 1 : high;
    const count = j - i;
    let spare = end - start + 1 - count;
    if (spare < 0) throw new Error(`no room before ${members[j]?.name}`);
    let n = start;
    for (let k = i; k < j; k++) {
      const gap = spare > 0 && random() < spare / (j - k + 1) ? 1 + Math.floor(random() * Math.min(spare, 2)) : 0;
      n += gap;
      spare -= gap;
      members[k].number = String(n);
      n++;
    }
    if (j < members.length) start = Number(members[j].number) + 1;
    i = j + 1;
  }
}
const run1 = records.slice(0, 29);
numberRun(run1.slice(1, 5), 3, 19); // 重庆 上海 天津 长春
numberRun(run1.slice(5, 10), 20, 29); // 成都 长沙 福州 贵阳 广州
numberRun(run1.slice(10), 31, 71); // 哈尔滨 (31) to 郑州
numberRun(records.slice(29, 29 + 412), 72, 521);
numberRun(records.slice(29 + 412, records.length - 1), 523, 1000);

// The cities of the segment store that no record names, appended in the store's order.
const named = new Set(records.map((r) => r.name));
const appended = [...new Set(storeCities)].filter((name) => !named.has(name));
let nextNumber = 1001;
for (const name of appended) {
  const syllables = syllablesOf(name);
  if (syllables.length !== [...name].length) throw new Error(`syllables of ${name}`);
  records.push({
    name,
    run: 3,
    code: codeOf(syllables),
    upperCode: null,
    pinyin: syllables.join(""),
    initials: syllables.map((s) => s[0]).join(""),
    number: String(nextNumber++),
    fixed: false,
  });
}
assignUpperCodes(records);
if (process.argv.includes("--list-appended")) {
  for (const r of records.filter((r) => r.run === 3)) console.log(`${r.name}\t${r.pinyin}`);
}

const text =
  "@" +
  records
    .map((r) => [r.code, r.name, r.upperCode, r.pinyin, r.initials, r.number].filter((f) => f !== null && f !== undefined).join("|"))
    .join("@");
writeFileSync(new URL("../../data/city_table.txt", here), text);
const base = records.filter((r) => r.run < 3);
const baseText = "@" + base.map((r) => [r.code, r.name, r.upperCode, r.pinyin, r.initials, r.number].filter((f) => f !== null && f !== undefined).join("|")).join("@");
const gbk = (t) => [...t].reduce((n, c) => n + (c.charCodeAt(0) < 0x80 ? 1 : 2), 0);
console.log(`${base.length} records, ${new Set(base.map((r) => r.code)).size} distinct codes, ${gbk(baseText)} GBK bytes; ${records.length - base.length} store cities appended, ${gbk(text)} GBK bytes in all`);
