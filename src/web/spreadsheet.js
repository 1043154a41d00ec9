// The spreadsheets volunteers keep (.xlsx, .ods), read in the browser.
