#!/bin/sh
# A reader of words in pictures that takes a picture and never answers.
exec sleep 600
