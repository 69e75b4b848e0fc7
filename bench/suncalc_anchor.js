// The anchor of bench-astro: the small JavaScript library suncalc's sunrise and sunset
// (getTimes) for every day 1950..2049 at the same site, timed in the same run.
// Usage: node bench/suncalc_anchor.js MODULE_DIR   prints microseconds per day.
'use strict';
const SunCalc = require(require('path').resolve(process.argv[2], 'suncalc'));
const latitude = 47.25, longitude = 9.55;
const first = Date.UTC(1950, 0, 1, 12), last = Date.UTC(2050, 0, 1, 12);
let days = 0, checksum = 0;
const run = () => {
  for (let t = first; t < last; t += 86400000) {
    const times = SunCalc.getTimes(new Date(t), latitude, longitude);
    checksum += times.sunrise.getTime() % 1000 + times.sunset.getTime() % 1000;
    ++days;
  }
};
run();  // warm the JIT
// Processor time, not wall time: the anchor and Zorva are compared on a busy machine too;
// the median of several passes, as bench-astro takes its own.
const passes = [];
for (let pass = 0; pass < 5; ++pass) {
  days = 0;
  const start = process.cpuUsage();
  run();
  const used = process.cpuUsage(start);
  passes.push((used.user + used.system) / 1e6 / days * 1e6);
}
passes.sort((a, b) => a - b);
console.log(passes[2].toFixed(3), checksum);
