#!/usr/bin/env bash
# Installs what is missing, builds, and starts Varnel under Wine: on the current
# display when there is one (returns when Varnel is closed), else on a private
# Xvfb display, where it saves build/varnel.png and closes Varnel again.
exec bash "$(dirname "${BASH_SOURCE[0]}")/run-program.sh" varnel
