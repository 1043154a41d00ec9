// The report page's style sheet and script, kept apart from the code that writes the page.
#pragma once

#include <string_view>

namespace tabreport {

inline constexpr std::string_view page_style = R"css(
:root{color-scheme:light}
body{font:14px/1.4 system-ui,-apple-system,"Segoe UI",Roboto,Arial,sans-serif;margin:0 1em 2em;color:#1b1b1b;background:#fff}
h1{font-size:1.4em;margin:.6em 0 .3em}
h2{font-size:1.1em;margin:.8em 0 .3em}
a{color:#0b57a4}
a:focus,th:focus{outline:3px solid #0b57a4;outline-offset:1px}
.skip{position:absolute;left:-999px}.skip:focus{left:1em;top:.5em;background:#fff;padding:.3em}
dl.facts{display:grid;grid-template-columns:max-content auto;gap:.1em 1em;margin:.3em 0}
dl.facts dt{font-weight:600}dl.facts dd{margin:0}
.counts span,.kinds .n{display:inline-block;padding:0 .6em;border-radius:.8em;margin-right:.3em;font-weight:600}
.stale,.fatal{border-left:5px solid #c62828;background:#fde2e1;padding:.4em .8em;max-width:60em}
ul.kinds{list-style:none;padding:0;margin:.2em 0;columns:22em auto}
ul.kinds li{margin:.1em 0;break-inside:avoid}
ul.kinds a[aria-current]{font-weight:700;outline:2px solid currentColor;outline-offset:1px}
.view a[aria-current]{font-weight:700;text-decoration:none;color:#1b1b1b}
.keys{color:#555}
.e{background:#fde2e1}.w{background:#fff1bf}.i{background:#e1eefa}
table.sheet{border-collapse:collapse;font-size:13px;margin-top:.5em}
.sheet th,.sheet td{border:1px solid #cfcfcf;padding:1px 4px;white-space:pre;vertical-align:top;text-align:left}
.sheet thead th{position:sticky;top:0;background:#e8e8e8;z-index:1}
.sheet tbody th{background:#f3f3f3;text-align:right;font-weight:normal;color:#444}
.sheet tbody{background:#fff}
.sheet tbody.e>tr:first-child>*{background:#fde2e1}
.sheet tbody.w>tr:first-child>*{background:#fff6d6}
.sheet tbody.i>tr:first-child>*{background:#e9f2fb}
.sheet tbody.h td{color:#666;font-style:italic}
.sheet td.e{background:#f4a7a2!important;box-shadow:inset 0 0 0 2px #b71c1c}
.sheet td.w{background:#ffd966!important;box-shadow:inset 0 0 0 2px #9a6a00}
.sheet td.i{background:#a9cff2!important;box-shadow:inset 0 0 0 2px #1e5a96}
.sheet tr.m>td{white-space:normal;background:#fff;border-top:0}
.sheet tr.m>th{background:#fff}
ul.msgs{margin:0;padding-left:1.2em}
ul.msgs li{margin:0;padding:0 .3em;white-space:pre-wrap}
ul.msgs b{font-weight:600}
.cc{color:#b71c1c;background:#fff;border:1px dotted #b71c1c;font-size:.85em}
body:not(.all):not(.kind) .sheet tbody:not(.f):not(.c){display:none}
body:not(.all):not(.kind) .sheet tbody.g>tr:first-child>*{border-top:3px double #777}
@media print{
.skip,.view,.keys{display:none}
.sheet thead th{position:static}
.sheet thead{display:table-header-group}
.sheet tbody.f{break-inside:avoid}
*{-webkit-print-color-adjust:exact;print-color-adjust:exact}
body{margin:0}
}
)css";

// Filters by the address fragment ("#kind=<slug>", "#rows=all"): one style
// rule per change, no work per row or cell when the page loads. Keys n and p
// move to the next and previous row with findings that is shown.
inline constexpr std::string_view page_script = R"js(
(function () {
  "use strict";
  var doc = document, body = doc.body, rule = doc.getElementById("filter");
  var shown = doc.getElementById("shown");
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
  function visibleFindings() {
    return Array.prototype.filter.call(doc.querySelectorAll(".sheet tbody.f"), function (t) {
      return t.offsetParent !== null;
    });
  }
  function apply() {
    var p = params();
    var kind = /^[a-z0-9-]+$/.test(p.kind || "") ? p.kind : "";
    var link = kind ? doc.querySelector('a[data-kind="' + kind + '"]') : null;
    if (!link) kind = "";
    var all = p.rows === "all";
    body.classList.toggle("kind", !!kind);
    body.classList.toggle("all", all && !kind);
    if (rule) rule.textContent = kind ? ".sheet tbody:not(.k-" + kind + "){display:none}" +
        "ul.msgs li:not(.k-" + kind + "){opacity:.5}" : "";
    mark(doc.querySelectorAll("a[data-kind]"), link);
    mark(doc.querySelectorAll(".view a"), kind ? null : doc.getElementById(all ? "v-all" : "v-findings"));
    if (shown) {
      // The rows with findings now shown, by number (also read by the tests).
      var visible = visibleFindings().map(function (t) { return t.id.slice(1); });
      shown.setAttribute("data-visible", visible.join(" "));
      shown.textContent = kind ? "Showing the " + visible.length + " rows with: " + link.textContent :
          all ? "Showing all rows" : "Showing the rows with findings and one row either side";
    }
  }
  doc.addEventListener("keydown", function (e) {
    if (e.altKey || e.ctrlKey || e.metaKey || (e.key !== "n" && e.key !== "p")) return;
    if (/^(INPUT|TEXTAREA|SELECT)$/.test(e.target.tagName)) return;
    var rows = visibleFindings(), top = 60, target = null, i;
    if (e.key === "n") {
      for (i = 0; i < rows.length && !target; i++)
        if (rows[i].getBoundingClientRect().top > top + 1) target = rows[i];
    } else {
      for (i = rows.length - 1; i >= 0 && !target; i--)
        if (rows[i].getBoundingClientRect().top < top - 1) target = rows[i];
    }
    if (!target) return;
    var th = target.querySelector("th");
    th.tabIndex = -1;
    th.focus();
    window.scrollBy(0, target.getBoundingClientRect().top - top);
    e.preventDefault();
  });
  window.addEventListener("hashchange", apply);
  apply();
  doc.documentElement.setAttribute("data-script", "ok");
})();
)js";

}  // namespace tabreport
