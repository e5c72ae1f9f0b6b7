#!/usr/bin/env bash
# Runs a test program against a private CUPS scheduler whose default
# destination is the CUPS-PDF queue "PDF".
set -euo pipefail
source "$(dirname "$0")/../../e2e/cups.sh"
start_cups
add_pdf_queue PDF
set_default PDF
export CUPS_PDF_DIR CUPS_STAMP
"$@"
