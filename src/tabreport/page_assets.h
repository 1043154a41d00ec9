// The report page's style sheet and script, kept apart from the code that writes the page.
#pragma once

#include <string_view>

namespace tabreport {

inline constexpr std::string_view page_style = R"css(
:root{color-scheme:light;--row:22px}
html,body{height:100%}
body{font:14px/1.4 system-ui,-apple-system,"Segoe UI",Roboto,Arial,sans-serif;margin:0;color:#1b1b1b;background:#fff;display:flex;flex-direction:column}
header{padding:.3em 1em .4em;border-bottom:1px solid #cfcfcf;background:#fafafa}
h1{font-size:1.3em;margin:.2em 0}
h2{font-size:1.05em;margin:.5em 0 .3em}
a{color:#0b57a4}
a:focus,button:focus,input:focus,.sheetbox:focus{outline:3px solid #0b57a4;outline-offset:1px}
.skip{position:absolute;left:-999px}.skip:focus{left:1em;top:.5em;background:#fff;padding:.3em;z-index:9}
dl.facts{display:flex;flex-wrap:wrap;gap:0 .4em;margin:.1em 0}
dl.facts dt{font-weight:600}dl.facts dd{margin:0 1em 0 0}
.counts{margin:.2em 0}
.counts span,.kinds .n{display:inline-block;padding:0 .6em;border-radius:.8em;margin-right:.3em;font-weight:600}
.stale,.fatal{border-left:5px solid #c62828;background:#fde2e1;padding:.4em .8em;max-width:60em;margin:.4em 1em}
.bar{display:flex;flex-wrap:wrap;align-items:center;gap:.3em 1em;margin-top:.2em}
.bar a[aria-current]{font-weight:700;text-decoration:none;color:#1b1b1b;border-bottom:3px solid #0b57a4}
.bar input{font:inherit;width:16em;padding:1px 4px}
#shown{color:#333}
.keys{color:#666;margin-left:auto}
.e{background:#fde2e1}.w{background:#fff1bf}.i{background:#e1eefa}
.work{flex:1;min-height:0;display:flex}
.sheetbox{flex:1;min-width:0;overflow:auto;position:relative;contain:strict}
.values{flex:1;min-width:0;overflow:auto;padding:0 1em}
.side{flex:0 0 24em;max-width:40%;display:flex;flex-direction:column;border-left:1px solid #cfcfcf;min-height:0}
.side>*{padding:0 .8em}
.kinds{flex:0 1 auto;max-height:45%;overflow:auto;border-bottom:1px solid #cfcfcf}
.kinds ul{list-style:none;padding:0;margin:.2em 0 .5em}
.kinds li{margin:.15em 0}
.kinds a[aria-current]{font-weight:700;outline:2px solid currentColor;outline-offset:1px}
p.why{margin:.05em 0 .3em 2.6em;color:#444;font-size:.92em}
.found{flex:1;overflow:auto;min-height:6em}
.found ol{list-style:none;padding:0;margin:.2em 0}
.found li{padding:.25em .4em;border-left:4px solid transparent;margin:.1em 0;cursor:pointer}
.found li.e{border-left-color:#c62828;background:#fff5f4}.found li.w{border-left-color:#c99700;background:#fffbeb}.found li.i{border-left-color:#1e5a96;background:#f3f8fd}
.found li[aria-current]{outline:2px solid #1b1b1b}
.found li a{font-weight:600}
.found details{margin:.15em 0 0}.found summary{color:#0b57a4;cursor:pointer;font-size:.9em}
.found details p{margin:.1em 0 .2em;font-size:.92em}
.msg{white-space:pre-wrap;overflow-wrap:anywhere}
.clean{border-left:5px solid #2e7d32;background:#e8f5e9;padding:.5em .8em;margin:.6em 0}
table.sheet{border-collapse:separate;border-spacing:0;font-size:13px;table-layout:fixed;width:max-content}
.sheet th,.sheet td{border-right:1px solid #d6d6d6;border-bottom:1px solid #d6d6d6;padding:0 4px;height:var(--row);box-sizing:border-box;
 white-space:pre;overflow:hidden;text-overflow:ellipsis;text-align:left;line-height:calc(var(--row) - 2px)}
.sheet thead th{position:sticky;top:0;background:#e4e4e4;z-index:2;font-weight:600;border-bottom:2px solid #aaa;
 white-space:normal;height:calc(2 * var(--row) - 4px);line-height:1.15;vertical-align:bottom;font-size:12px}
.sheet th:first-child{position:sticky;left:0;z-index:1;background:#f0f0f0;text-align:right;font-weight:normal;color:#444;border-right:2px solid #aaa}
.sheet thead th:first-child{z-index:3;background:#e4e4e4;font-weight:600}
.sheet tr.sp td{border:0;padding:0;height:auto}
.sheet tr.h td{background:#ececec;color:#555;font-style:italic}
.sheet tr.h th{font-style:italic}
.sheet tr.f.e>th:first-child{background:#f4a7a2;color:#000;font-weight:600}
.sheet tr.f.w>th:first-child{background:#ffd966;color:#000;font-weight:600}
.sheet tr.f.i>th:first-child{background:#a9cff2;color:#000;font-weight:600}
.sheet tr.f.e>td{background:#fff5f4}.sheet tr.f.w>td{background:#fffbeb}.sheet tr.f.i>td{background:#f3f8fd}
.sheet tr.g>*{border-top:3px double #777}
.sheet tr.sel>*{border-bottom-color:#1b1b1b}
.sheet td.e{background:#f4a7a2!important;box-shadow:inset 0 0 0 2px #b71c1c}
.sheet td.w{background:#ffd966!important;box-shadow:inset 0 0 0 2px #9a6a00}
.sheet td.i{background:#a9cff2!important;box-shadow:inset 0 0 0 2px #1e5a96}
.sheet td.at{box-shadow:inset 0 0 0 3px #000}
.cc{color:#b71c1c;background:#fff;border:1px dotted #b71c1c;font-size:.85em}
ul.msgs{margin:.2em 0 .5em;padding-left:1.2em}
ul.msgs li{white-space:pre-wrap}
table.vals{border-collapse:collapse;margin:.3em 0 1em}
table.vals td,table.vals th{border-bottom:1px solid #e2e2e2;padding:1px 8px;text-align:left;white-space:pre}
table.vals td.c{text-align:right}
table.vals tr.rare td{background:#fff1bf}
table.vals .tag{color:#7a5200;font-weight:600}
@media (max-width:1100px){.side{flex-basis:21em}}
@media print{
.skip,.bar,.kinds{display:none}
html,body,.work{display:block;height:auto}
.sheetbox,.found,.side{overflow:visible;contain:none;max-width:none;border:0}
.sheet thead th,.sheet th:first-child{position:static}
*{-webkit-print-color-adjust:exact;print-color-adjust:exact}
}
)css";

// Draws the spreadsheet from the page's data, only the rows in view (a
// virtual table: every row the same height, spacers for the rows above and
// below), and lists the findings of the rows shown beside it. The view is
// kept in the address fragment: "#rows=all", "#kind=<slug>", "#col=<n>&value=
// <text>" (the rows holding that value), "#view=values" (each column's
// values), "&finding=<n>" (that finding chosen). Keys n and p choose the next
// and previous row with findings, / goes to the filter. Cell texts are only
// ever set as text, never as markup.
inline constexpr std::string_view page_script = R"js(
(function () {
  "use strict";
  var doc = document, root = doc.documentElement, perf = window.performance;
  function $(id) { return doc.getElementById(id); }
  function json(id) { var el = $(id); return el ? JSON.parse(el.textContent) : null; }
  function el(tag, cls, text) {
    var e = doc.createElement(tag);
    if (cls) e.className = cls;
    if (text !== undefined) e.textContent = text;
    return e;
  }
  if (perf && perf.mark) perf.mark("page-script");
  var R = json("rows"), D = json("data");
  if (!R || !D) { root.setAttribute("data-script", "ok"); return; }
  if (perf && perf.mark) perf.mark("page-data");
  var titles = D.titles, kinds = D.kinds, F = D.findings, cols = titles.length, headerRows = D.headerRows;
  var box = $("sheetbox"), table = $("sheet"), shown = $("shown"), found = $("found"), filter = $("filter");
  var valuesBox = $("values");

  // Each row is one string: its number, then each cell after SEP.
  var SEP = "\u0080";
  function cellsOf(at) { return R[at].split(SEP); }
  // Row numbers; row number -> index into R; per row index, its findings in order.
  var num = new Int32Array(R.length), indexOf = new Map(), byRow = new Map(), i, k;
  for (i = 0; i < R.length; i++) { num[i] = parseInt(R[i], 10); indexOf.set(num[i], i); }
  for (i = 0; i < F.length; i++) {
    var at = indexOf.get(F[i][0]);
    if (at === undefined) continue;
    F[i].push(at);
    if (!byRow.has(at)) byRow.set(at, []);
    byRow.get(at).push(i);
  }
  var order = { e: 0, w: 1, i: 2 };
  function worst(list) {
    var w = "i";
    list.forEach(function (f) { if (order[F[f][2]] < order[w]) w = F[f][2]; });
    return w;
  }

  // A cell's text, with control bytes shown as their symbols and the bytes
  // Windows-1252 leaves undefined as their hex value, both marked.
  var odd = /[\u0000-\u001f\u007f-\u009f]/;
  function fill(e, s) {
    if (!odd.test(s)) { e.textContent = s; return; }
    var from = 0;
    for (var j = 0; j <= s.length; j++) {
      var c = j < s.length ? s.charCodeAt(j) : -1;
      if (c !== -1 && c >= 0x20 && (c < 0x7f || c > 0x9f)) continue;
      if (j > from) e.appendChild(doc.createTextNode(s.slice(from, j)));
      if (c !== -1) e.appendChild(el("span", "cc", c < 0x20 ? String.fromCharCode(0x2400 + c) :
          c === 0x7f ? "\u2421" : "<" + c.toString(16).toUpperCase() + ">"));
      from = j + 1;
    }
  }

  // The table's frame: column widths from the longest text (of the first
  // rows and those with findings), capped; a longer text shows whole on hover.
  // A title wraps onto two lines, so only its longest word (up to 8) counts.
  var widths = titles.map(function (t) {
    return Math.max(3, Math.min(8, Math.max.apply(null, t.split(/\s+/).map(function (w) { return w.length; }))));
  });
  function widen(at) {
    if (num[at] <= headerRows) return;
    var row = cellsOf(at);
    for (var c = 1; c < row.length && c <= cols; c++)
      if (row[c].length > widths[c - 1]) widths[c - 1] = Math.min(row[c].length, 40);
  }
  for (i = 0; i < R.length && i < 5000; i++) widen(i);
  byRow.forEach(function (list, at) { widen(at); });
  var colgroup = el("colgroup"), numberWidth = String(R.length ? num[R.length - 1] : 1).length + 2;
  colgroup.appendChild(el("col")).style.width = (numberWidth + 1) + "ch";
  widths.forEach(function (w) { colgroup.appendChild(el("col")).style.width = (w + 2) + "ch"; });
  // A table of a width set beforehand is laid out from its columns alone.
  table.style.width = widths.reduce(function (sum, w) { return sum + w + 2; }, numberWidth + 1) + "ch";
  var thead = el("thead"), headRow = el("tr"), body = el("tbody");
  headRow.appendChild(el("th", "", "Row")).scope = "col";
  titles.forEach(function (t) { var th = el("th"); th.scope = "col"; fill(th, t); th.title = t; headRow.appendChild(th); });
  thead.appendChild(headRow);
  var topPad = el("tr", "sp"), bottomPad = el("tr", "sp");
  topPad.appendChild(el("td")).colSpan = cols + 1;
  bottomPad.appendChild(el("td")).colSpan = cols + 1;
  body.appendChild(topPad);
  body.appendChild(bottomPad);
  table.appendChild(colgroup);
  table.appendChild(thead);
  table.appendChild(body);

  // The view: the row indices shown, in order; gap[k]: rows were left out before the k-th.
  var view = [], gap = [], inView = new Uint8Array(R.length), sel = null, rowHeight = 22, listed = [];

  function rowElement(k) {
    var at = view[k], row = cellsOf(at), n = num[at], list = byRow.get(at), tr = el("tr");
    var cls = n <= headerRows ? "h" : "";
    if (list) cls += " f " + worst(list);
    if (gap[k]) cls += " g";
    if (sel && sel.at === at) cls += " sel";
    tr.className = cls.trim();
    tr.setAttribute("data-n", n);
    tr.appendChild(el("th", "", n));
    var marks = null;
    if (list) {
      marks = {};
      list.forEach(function (f) {
        var c = F[f][1];
        if (c >= 0 && (!marks[c] || order[F[f][2]] < order[marks[c]])) marks[c] = F[f][2];
      });
    }
    for (var c = 0; c < cols; c++) {
      var td = el("td"), s = row[c + 1];
      if (s) {
        fill(td, s);
        if (s.length > widths[c]) td.title = s;
      }
      var tdc = marks && marks[c] ? marks[c] : "";
      if (sel && sel.at === at && sel.col === c) tdc += " at";
      if (tdc) td.className = tdc.trim();
      tr.appendChild(td);
    }
    return tr;
  }

  // Draws the rows in view and 20 either side; while the view stays within
  // the rows drawn, scrolling draws nothing.
  var drawn = { first: 0, last: 0, view: null };
  function render(again) {
    var top = box.scrollTop, height = box.clientHeight;
    var from = Math.floor(top / rowHeight), to = Math.min(view.length, Math.ceil((top + height) / rowHeight));
    if (again !== true && drawn.view === view && from >= drawn.first && to <= drawn.last) return;
    var first = Math.max(0, from - 20), last = Math.min(view.length, to + 20);
    drawn = { first: first, last: last, view: view };
    topPad.firstChild.style.height = first * rowHeight + "px";
    bottomPad.firstChild.style.height = (view.length - last) * rowHeight + "px";
    while (topPad.nextSibling !== bottomPad) body.removeChild(topPad.nextSibling);
    var part = doc.createDocumentFragment();
    for (var k = first; k < last; k++) part.appendChild(rowElement(k));
    body.insertBefore(part, bottomPad);
  }
  box.addEventListener("scroll", render);
  window.addEventListener("resize", function () { render(true); });

  function params() {
    var out = {};
    location.hash.replace(/^#/, "").split("&").forEach(function (part) {
      var at = part.indexOf("=");
      if (at > 0) {
        try { out[part.slice(0, at)] = decodeURIComponent(part.slice(at + 1)); } catch (e) {}
      }
    });
    return out;
  }
  function mark(links, current) {
    Array.prototype.forEach.call(links, function (a) {
      if (a === current) a.setAttribute("aria-current", "true");
      else a.removeAttribute("aria-current");
    });
  }
  function rowText(at) {
    var text = R[at].slice(R[at].indexOf(SEP) + 1);
    (byRow.get(at) || []).forEach(function (f) { text += SEP + F[f][4]; });
    return text.toLowerCase();
  }

  // The rows of the chosen view, then those holding the filter's text.
  function choose(p) {
    var base = [], at, kind = -1, want = null, text = filter.value.trim().toLowerCase();
    for (k = 0; k < kinds.length; k++) if (kinds[k][0] === p.kind) kind = k;
    var col = p.col !== undefined && /^[0-9]+$/.test(p.col) && +p.col < cols && p.value !== undefined ? +p.col : -1;
    var all = p.rows === "all" || !F.length;
    if (kind >= 0) {
      F.forEach(function (f) { if (f[3] === kind && base[base.length - 1] !== f[5]) base.push(f[5]); });
    } else if (col >= 0) {
      for (at = 0; at < R.length; at++) if (num[at] > headerRows && (cellsOf(at)[col + 1] || "") === p.value) base.push(at);
    } else if (all) {
      for (at = 0; at < R.length; at++) base.push(at);
    } else {
      want = new Uint8Array(R.length);
      byRow.forEach(function (list, at) {
        want[at] = 1;
        if (at > 0) want[at - 1] = 1;
        if (at + 1 < R.length) want[at + 1] = 1;
      });
      for (at = 0; at < R.length; at++) if (want[at]) base.push(at);
    }
    if (text) base = base.filter(function (at) { return rowText(at).indexOf(text) >= 0; });
    view = base;
    gap = view.map(function (at, k) { return k > 0 && at - view[k - 1] > 1; });
    inView.fill(0);
    view.forEach(function (at) { inView[at] = 1; });
    return { kind: kind, col: col, all: all, text: text };
  }

  function describe(c, p) {
    var n = view.length, rows = n === 1 ? " row" : " rows", what;
    if (c.kind >= 0) what = "Showing the " + n + rows + " with: " + kinds[c.kind][1];
    else if (c.col >= 0) what = "Showing the " + n + rows + " whose " + titles[c.col] + " is \u201c" + p.value + "\u201d";
    else if (c.all) what = "Showing all " + R.length + " rows";
    else what = "Showing the rows with findings and one row either side";
    if (c.text) what += ": " + n + " with \u201c" + filter.value.trim() + "\u201d";
    shown.textContent = what;
    var numbers = [];
    view.forEach(function (at) { if (byRow.has(at)) numbers.push(num[at]); });
    shown.setAttribute("data-visible", numbers.join(" "));
  }

  // The findings of the rows in view (of the chosen kind), each choosing its cell.
  function listFindings(c) {
    found.textContent = "";
    listed = [];
    if (!F.length) {
      var clean = found.appendChild(el("div", "clean"));
      clean.id = "clean";
      clean.appendChild(el("h2", "", "No findings on the rows"));
      var data = R.length - Math.min(R.length, headerRows);
      clean.appendChild(el("p", "", "tabulon found nothing to report on the " + data + " rows of this piece: " +
          $("errors").textContent + ", " + $("warnings").textContent + ", " + $("infos").textContent + "."));
    } else {
      found.appendChild(el("h2", "", "Findings in view"));
    }
    var list = found.appendChild(el("ol")), part = doc.createDocumentFragment();
    F.forEach(function (f, index) {
      if (!inView[f[5]] || (c.kind >= 0 && f[3] !== c.kind)) return;
      listed.push(index);
      var li = el("li", f[2]);
      li.setAttribute("data-f", index);
      var a = li.appendChild(el("a", "", "Row " + f[0] + (f[1] >= 0 ? ", " + titles[f[1]] : "")));
      a.href = "#";
      li.appendChild(doc.createTextNode(" "));
      li.appendChild(el("span", "msg", f[4]));
      var why = kinds[f[3]][3];
      if (why) {
        var more = li.appendChild(el("details"));
        more.appendChild(el("summary", "", "What this means"));
        more.appendChild(el("p", "", why));
      }
      part.appendChild(li);
    });
    list.appendChild(part);
    if (F.length && !listed.length) found.appendChild(el("p", "", "No findings on the rows shown."));
    if (D.missing.length) {
      found.appendChild(el("h2", "", "On rows the piece does not have")).id = "missing-rows";
      var ul = found.appendChild(el("ul", "msgs"));
      D.missing.forEach(function (m) { ul.appendChild(el("li", m[0], m[1])); });
    }
  }

  function indexInView(at) {
    var lo = 0, hi = view.length - 1;
    while (lo <= hi) {
      var mid = (lo + hi) >> 1;
      if (view[mid] === at) return mid;
      if (view[mid] < at) lo = mid + 1; else hi = mid - 1;
    }
    return -1;
  }

  // Chooses a finding: its row scrolled into view, its cell outlined and in view.
  function select(index) {
    var f = F[index], k = indexInView(f[5]);
    if (k < 0) return;
    sel = { f: index, at: f[5], col: f[1] };
    box.scrollTop = Math.max(0, k * rowHeight - box.clientHeight / 3);
    render(true);
    var cell = body.querySelector("tr.sel td.at");
    if (cell) {
      var left = cell.offsetLeft - box.querySelector("thead th").offsetWidth - 8;
      if (left < box.scrollLeft || cell.offsetLeft + cell.offsetWidth > box.scrollLeft + box.clientWidth)
        box.scrollLeft = Math.max(0, left);
    }
    Array.prototype.forEach.call(found.querySelectorAll("li[aria-current]"), function (li) { li.removeAttribute("aria-current"); });
    var item = found.querySelector('li[data-f="' + index + '"]');
    if (item) {
      item.setAttribute("aria-current", "true");
      var r = item.getBoundingClientRect(), outer = found.getBoundingClientRect();
      if (r.top < outer.top || r.bottom > outer.bottom) found.scrollTop += r.top - outer.top - found.clientHeight / 3;
    }
  }

  found.addEventListener("click", function (e) {
    var li = e.target.closest ? e.target.closest("li[data-f]") : null;
    if (!li || e.target.closest("details")) return;
    e.preventDefault();
    select(+li.getAttribute("data-f"));
  });

  // The values of one column, most common first, each a link to its rows.
  function showValues(p) {
    var col = /^[0-9]+$/.test(p.col || "") && +p.col < cols ? +p.col : 0;
    valuesBox.textContent = "";
    valuesBox.appendChild(el("h2", "", "Values of each column"));
    var pick = valuesBox.appendChild(el("label", "", "Column ")).appendChild(el("select"));
    pick.id = "values-column";
    titles.forEach(function (t, c) { var o = pick.appendChild(el("option", "", t)); o.value = c; });
    pick.value = col;
    pick.addEventListener("change", function () { location.hash = "view=values&col=" + pick.value; });
    var counts = new Map(), rows = 0;
    for (var at = 0; at < R.length; at++) {
      if (num[at] <= headerRows) continue;
      var v = cellsOf(at)[col + 1] || "";
      counts.set(v, (counts.get(v) || 0) + 1);
      rows++;
    }
    var values = Array.from(counts.entries()).sort(function (a, b) {
      return b[1] - a[1] || (a[0] < b[0] ? -1 : a[0] > b[0] ? 1 : 0);
    });
    var rare = values.filter(function (v) { return v[1] <= 2; }).length;
    valuesBox.appendChild(el("p", "", values.length + " different values in " + rows + " rows; " + rare +
        " seen only once or twice, marked: look at those for a slip of the keyboard."));
    var text = filter.value.trim().toLowerCase();
    if (text) {
      values = values.filter(function (v) { return v[0].toLowerCase().indexOf(text) >= 0; });
      valuesBox.appendChild(el("p", "", values.length + " of them with \u201c" + filter.value.trim() + "\u201d."));
    }
    var t = valuesBox.appendChild(el("table", "vals")), head = t.appendChild(el("thead")).appendChild(el("tr"));
    head.appendChild(el("th", "", "Value"));
    head.appendChild(el("th", "", "Rows"));
    head.appendChild(el("th", "", ""));
    var tb = t.appendChild(el("tbody"));
    values.forEach(function (v) {
      var tr = tb.appendChild(el("tr", v[1] <= 2 ? "rare" : "")), a = el("a");
      if (v[0]) fill(a, v[0]); else a.textContent = "(empty)";
      a.href = "#col=" + col + "&value=" + encodeURIComponent(v[0]);
      tr.appendChild(el("td")).appendChild(a);
      tr.appendChild(el("td", "c", v[1]));
      tr.appendChild(el("td", "tag", v[1] === 1 ? "seen once" : v[1] === 2 ? "seen twice" : ""));
    });
  }

  function apply() {
    var p = params(), values = p.view === "values";
    box.hidden = values;
    valuesBox.hidden = !values;
    mark(doc.querySelectorAll(".bar a"), $(values ? "v-values" : p.rows === "all" || !F.length ? "v-all" :
        p.kind || p.col ? "" : "v-findings"));
    mark(doc.querySelectorAll("a[data-kind]"), p.kind ? doc.querySelector('a[data-kind="' + p.kind.replace(/[^a-z0-9-]/g, "") + '"]') : null);
    if (values) { showValues(p); return; }
    var c = choose(p);
    sel = null;
    describe(c, p);
    listFindings(c);
    box.scrollTop = 0;
    render(true);
    var chosen = /^[0-9]+$/.test(p.finding || "") ? +p.finding : -1;
    if (chosen >= 0 && chosen < F.length) select(chosen);
  }

  // Keys: n and p choose the next and previous row with findings, / the filter.
  doc.addEventListener("keydown", function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey) return;
    if (e.target === filter) {
      if (e.key === "Escape") { filter.value = ""; filter.blur(); apply(); }
      return;
    }
    if (/^(INPUT|TEXTAREA|SELECT)$/.test(e.target.tagName)) return;
    if (e.key === "/") { filter.focus(); e.preventDefault(); return; }
    if (e.key !== "n" && e.key !== "p" || !listed.length) return;
    var from = sel ? sel.at : view[Math.floor(box.scrollTop / rowHeight)] - (e.key === "n" ? 1 : 0);
    var target = -1, j;
    if (e.key === "n") {
      for (j = 0; j < listed.length && target < 0; j++) if (F[listed[j]][5] > from) target = listed[j];
    } else {
      for (j = listed.length - 1; j >= 0 && target < 0; j--) if (F[listed[j]][5] < from) target = listed[j];
      while (target >= 0 && j >= 0 && F[listed[j]][5] === F[target][5]) target = listed[j--];
    }
    if (target < 0) return;
    select(target);
    e.preventDefault();
  });
  var typing = 0;
  filter.addEventListener("input", function () { clearTimeout(typing); typing = setTimeout(apply, 150); });
  window.addEventListener("hashchange", apply);

  // One row drawn and measured gives the height of every row.
  view = R.length ? [0] : [];
  render(true);
  var sample = body.querySelector("tr[data-n]");
  if (sample) rowHeight = sample.getBoundingClientRect().height || rowHeight;
  apply();
  if (perf && perf.mark) perf.mark("page-ready");
  root.setAttribute("data-script", "ok");
  root.setAttribute("data-ready-ms", Math.round(perf ? perf.now() : 0));
})();
)js";

}  // namespace tabreport
