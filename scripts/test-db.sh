#!/bin/bash
# Starts or stops the private MariaDB server of the tests (placeholder until
# the server script lands).
case "${1:-}" in
  start) echo ":" ;;
  stop) ;;
esac
